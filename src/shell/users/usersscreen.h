// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/recordform.h"
#include "shell/users/permissiontree.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace sw {

// "Permissions . . .": the administrator's screen for the users. A user is keyed by
// his name (text_0), has a section (text_6) and is granted menu items by ticking them
// in the tree `tvwoptions`; the ticked codes are saved as his permission string. A new
// user's first password is his own name. Deleting a user marks him deleted.
class UsersScreen : public RecordForm
{
    Q_OBJECT
public:
    explicit UsersScreen(const FormContext &context);

    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    QTreeWidget *tvwoptions() const { return m_tree; }
    // The tree item of a menu code; nullptr when the tree has none.
    QTreeWidgetItem *node(const QString &code) const;

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;
    // Add starts from an empty name and section and no item ticked.
    void clearForAdd() override;
    void confirmDelete() override;

private:
    // Fills the tree with the menu codes, every box unticked.
    void AddItems();
    // Shows the tick of every node as the permission model holds it.
    void showTicks();
    void nodeClicked(QTreeWidgetItem *item);
    // The checks made when the name box is left while adding, editing or deleting.
    bool validateUserName();
    bool leaveUserName();
    void showUser(const QString &name);

    QLineEdit *m_name;    // text_0
    QLineEdit *m_section; // text_6
    QTreeWidget *m_tree;
    PermissionTree m_permissions;
    bool m_showingTicks = false;
};

} // namespace sw
