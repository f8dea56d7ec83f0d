// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/users/usersscreen.h"

#include "shell/core/passwordcodec.h"
#include "shell/core/permissions.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/session.h"
#include "shell/users/userstore.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
const QString kOpenToEveryUser =
    u"every user who can log in opens them, as the installed program's permission strings never governed "
    "them."_s;
} // namespace

UsersScreen::UsersScreen(const FormContext &context)
    : RecordForm(context, u"users"_s, u"Permissions . . ."_s)
    , m_tree(new QTreeWidget(this))
{
    m_name = addText(0, u"User ID"_s, u"User name"_s, passwords::kMaxUserPasswordLength);
    m_section = addText(6, u"Section"_s, u"Section of the user"_s, UserStore::kSectionWidth);
    setMandatoryFields(u"T0"_s);
    setFieldOrder(u"T0,T6"_s);
    setLookup(m_name, [this] { return UserStore::lookup(session().db()); });

    auto *permission = new QGroupBox(u"Permission"_s, this);
    permission->setObjectName(u"Frame2"_s);
    auto *layout = new QVBoxLayout(permission);
    layout->addWidget(new QLabel(u"Available screens"_s, permission));
    m_tree->setObjectName(u"tvwoptions"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumHeight(280);
    layout->addWidget(m_tree);
    auto *open = new QLabel(u"Items marked \"(all users)\" are ticked and fixed: "_s + kOpenToEveryUser, permission);
    open->setObjectName(u"lblopen"_s);
    open->setWordWrap(true);
    // A wrapped label is laid out narrower than it ends up: room for every line it may take.
    open->setMinimumHeight(open->fontMetrics().lineSpacing() * 6);
    layout->addWidget(open);
    addGrowing(permission);
    registerField(u"TV"_s, m_tree);
    fields().setCheck(m_name, [this] { return leaveUserName(); });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int) { nodeClicked(item); });
    AddItems();
}

std::optional<BoundSql> UsersScreen::recordsetStatement() const { return UserStore::browseStatement(session().db()); }

void UsersScreen::AddItems()
{
    m_showingTicks = true;
    m_tree->clear();
    QHash<QString, QTreeWidgetItem *> tops;
    for (const PermissionTree::Node &n : m_permissions.nodes()) {
        QTreeWidgetItem *item =
            n.parent.isEmpty() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(tops.value(n.parent, nullptr));
        item->setText(0, n.text);
        item->setData(0, Qt::UserRole, n.code);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        if (permissions::openToEveryUser(n.code)) {
            // Ticked and fixed: no permission string takes these items away.
            item->setText(0, n.text + u" (all users)"_s);
            item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled));
            item->setToolTip(0, kOpenToEveryUser);
        }
        if (n.parent.isEmpty())
            tops.insert(n.code, item);
    }
    m_tree->expandAll();
    m_showingTicks = false;
    m_permissions.load({});
    showTicks();
}

QTreeWidgetItem *UsersScreen::node(const QString &code) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == code)
            return *it;
    }
    return nullptr;
}

void UsersScreen::showTicks()
{
    m_showingTicks = true;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const QString code = (*it)->data(0, Qt::UserRole).toString();
        const bool ticked = m_permissions.isChecked(code) || permissions::openToEveryUser(code);
        (*it)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_showingTicks = false;
}

void UsersScreen::nodeClicked(QTreeWidgetItem *item)
{
    if (m_showingTicks)
        return;
    m_permissions.setChecked(item->data(0, Qt::UserRole).toString(), item->checkState(0) == Qt::Checked);
    showTicks();
}

void UsersScreen::resetForm()
{
    RecordForm::resetForm();
    // Clearing the screen empties the tree too; it always lists every menu item.
    AddItems();
}

void UsersScreen::showUser(const QString &name)
{
    const auto user = UserStore(session().db()).find(name);
    m_name->setText(user ? user->name : name);
    m_section->setText(user ? user->section : QString());
    m_permissions.load(user ? user->permission : QString());
    showTicks();
}

void UsersScreen::display_record(RecordSet &rows, const QString &)
{
    showUser(rows.text(u"fusername"_s));
    setLegend(browsing() ? browseLegend() : editLegend());
}

bool UsersScreen::validateUserName()
{
    const QString name = m_name->text().trimmed();
    QString refusal;
    if (name.isEmpty()) {
        refusal = u"Information should be entered"_s;
    } else {
        const auto user = UserStore(session().db()).find(name);
        const bool live = user && !user->deleted;
        if (editMode() == EditMode::Add && live)
            refusal = u"User Name already exists"_s;
        else if ((editMode() == EditMode::Edit || editMode() == EditMode::Delete) && !live)
            refusal = u"Invalid User Name"_s;
    }
    if (refusal.isEmpty())
        return true;
    prompter().message(refusal, u"Message"_s, PromptIcon::Information);
    m_name->setEnabled(true);
    returnFocusTo(m_name);
    return false;
}

void UsersScreen::clearForAdd()
{
    m_name->clear();
    m_section->clear();
    m_permissions.load({});
    showTicks();
}

void UsersScreen::confirmDelete()
{
    if (prompter().ask(u"Confirm deletion"_s, u"Delete"_s, PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No)
        == PromptAnswer::Yes) {
        if (UserStore(session().db()).remove(m_name->text(), prompter()))
            rsdisp().requery(session().db());
    }
    resetForm();
}

bool UsersScreen::leaveUserName()
{
    // Leaving the name box checks it; in edit and delete it brings the user's row.
    if (!validateUserName())
        return false;
    if (editMode() != EditMode::Add) {
        showUser(m_name->text().trimmed());
        m_name->setEnabled(false);
        SetFieldColours(u'D');
        if (editMode() == EditMode::Delete)
            confirmDelete();
    }
    return true;
}

void UsersScreen::CmdSave_Click()
{
    if (editMode() != EditMode::Add && editMode() != EditMode::Edit)
        return;
    try {
        if (!validateUserName())
            return;
        const QString permission = m_permissions.permissionString();
        const QString name = m_name->text().trimmed().toUpper();
        const bool adding = editMode() == EditMode::Add;
        setHint(u"Saving, Please wait..."_s);
        UserStore users(session().db(), session().userName);
        const bool saved = adding ? users.add(m_name->text(), m_section->text(), permission, prompter())
                                  : users.update(m_name->text(), m_section->text(), permission, prompter());
        setHint({});
        if (!saved)
            return;
        rsdisp().requery(session().db());
        resetForm();
        // What was saved is said, and a new user's first password once.
        showOutcome(u"User "_s + name + (adding ? u" added"_s : u" saved"_s));
        if (adding)
            prompter().info(u"User "_s + name + u" is added. His first password is "_s + name
                                + u": tell it to him, and ask him to change it at once (Utilities > Password)."_s,
                            u"Security"_s);
    } catch (const std::exception &e) {
        setHint({});
        showError(e);
    }
}

} // namespace sw
