// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

// The menu items a user may be granted, as the security screen's tree shows them:
// a node per menu code of the main window (top menus as roots, their items below),
// each with a check box. Ticking a node ticks everything under it; an item's top
// menu is ticked with it and unticked when none of its items is left.
class PermissionTree
{
public:
    struct Node
    {
        QString code;
        QString text;   // the menu caption without its "&"
        QString parent; // empty for a top menu
        bool checked = false;
    };

    PermissionTree();

    const std::vector<Node> &nodes() const { return m_nodes; }
    bool contains(const QString &code) const { return indexOf(code) >= 0; }
    bool isChecked(const QString &code) const;

    // A click on a node's check box, with what follows from it.
    void setChecked(const QString &code, bool checked);
    // Ticks exactly one node, and for an item its top menu (which only opens the
    // menu): what a typed list of codes grants, without a top code's whole menu.
    void grant(const QString &code);
    // Ticks every node whose code occurs in `permission` (a plain substring test,
    // as the menu itself grants them), unticks the rest.
    void load(const QString &permission);
    // The ticked codes in tree order, each followed by "*".
    QString permissionString() const;

private:
    int indexOf(const QString &code) const;

    std::vector<Node> m_nodes;
};

} // namespace sw
