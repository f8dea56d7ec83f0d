// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/users/permissiontree.h"

#include "shell/forms/menutree.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

PermissionTree::PermissionTree()
{
    // Only controls named like menu codes take part: the window list, help and
    // exit menus and the separators are not permissions.
    static const QRegularExpression menuCode(u"^N[0-9][0-9A-Z]?$"_s);
    for (const MenuEntry &e : menuTree()) {
        if (e.separator || !menuCode.match(e.code).hasMatch())
            continue;
        QString text = e.caption;
        text.remove(u'&');
        m_nodes.push_back({e.code, text, e.code.size() > 2 ? e.code.left(2) : QString(), false});
    }
}

int PermissionTree::indexOf(const QString &code) const
{
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i].code == code)
            return int(i);
    }
    return -1;
}

bool PermissionTree::isChecked(const QString &code) const
{
    const int at = indexOf(code);
    return at >= 0 && m_nodes[size_t(at)].checked;
}

void PermissionTree::setChecked(const QString &code, bool checked)
{
    if (indexOf(code) < 0)
        return;
    for (Node &n : m_nodes) {
        if (n.code.startsWith(code))
            n.checked = checked;
    }
    if (code.size() < 3)
        return;
    const QString top = code.left(2);
    bool anyItem = false;
    for (const Node &n : m_nodes)
        anyItem = anyItem || (n.parent == top && n.checked);
    m_nodes[size_t(indexOf(top))].checked = anyItem;
}

void PermissionTree::grant(const QString &code)
{
    const int at = indexOf(code);
    if (at < 0)
        return;
    Node &node = m_nodes[size_t(at)];
    node.checked = true;
    if (!node.parent.isEmpty())
        m_nodes[size_t(indexOf(node.parent))].checked = true;
}

void PermissionTree::load(const QString &permission)
{
    for (Node &n : m_nodes)
        n.checked = permission.contains(n.code);
}

QString PermissionTree::permissionString() const
{
    QString out;
    for (const Node &n : m_nodes) {
        if (n.checked)
            out += n.code + u'*';
    }
    return out;
}

} // namespace sw
