// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QAction;

namespace sw {

class Session;

// One item of the main window's menu tree. `code` is the item's control name
// (the menu code that permissions grant: N1 .. N49, N2A .. N2F, N3A; or the name
// of an item outside them: mnuwindow, mnuFilemain, mnuAlt, MMM1, mnuhlpsearch,
// MnuExit, and the separators "...sep"). A convocation command does nothing while
// the convocation is "ADMN".
struct MenuEntry
{
    QString code;
    QString caption;
    QString parent; // the top menu's code; empty for a top menu
    bool convocationCommand = false;
    bool separator = false;
};

// The whole tree in menu order: top menus followed by their items.
const std::vector<MenuEntry> &menuTree();
const MenuEntry *findMenuEntry(const QString &code);

// One QAction per entry of the tree, named by its code, captioned as the menu
// shows it. The main window puts them into its menus; the command-line tool's
// "menu" command reads their state. Holding QActions (not widgets) lets both
// apply the one permission rule to the same objects.
class MenuActions : public QObject
{
    Q_OBJECT
public:
    explicit MenuActions(QObject *parent = nullptr);

    QAction *action(const QString &code) const;
    const std::vector<QAction *> &actions() const { return m_actions; }

    // The user's permission string decides which items are enabled: for anyone
    // but "ADMIN" every governed item is disabled, then every item whose code
    // occurs in the string is enabled again (plain substring tests, so a top menu
    // comes with any of its items), except security (N43) and restore (N45),
    // which only "ADMIN" gets. With the convocation "ADMN" the convocation
    // commands are disabled too: they would do nothing.
    void applyPermissions(const Session &session);

private:
    std::vector<QAction *> m_actions;
};

} // namespace sw
