// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/menutree.h"

#include "shell/core/permissions.h"
#include "shell/session.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

MenuEntry top(const QString &code, const QString &caption) { return {code, caption, {}, false, false}; }

MenuEntry item(const QString &parent, const QString &code, const QString &caption, bool convocation = false)
{
    return {code, caption, parent, convocation, false};
}

MenuEntry separator(const QString &parent, const QString &code) { return {code, {}, parent, false, true}; }

} // namespace

const std::vector<MenuEntry> &menuTree()
{
    static const std::vector<MenuEntry> tree = {
        top(u"N1"_s, u"&Masters"_s),
        item(u"N1"_s, u"N14"_s, u"&Convocation"_s, true),
        separator(u"N1"_s, u"N14sep"_s),
        item(u"N1"_s, u"N11"_s, u"&Degree"_s),
        item(u"N1"_s, u"N12"_s, u"&College"_s),
        item(u"N1"_s, u"N13"_s, u"&Class"_s),
        item(u"N1"_s, u"N15"_s, u"&University / Autonomous"_s),

        top(u"N2"_s, u"&Transactions"_s),
        item(u"N2"_s, u"N21"_s, u"&Import Data (Directorywise)"_s, true),
        separator(u"N2"_s, u"N21sep"_s),
        item(u"N2"_s, u"N28"_s, u"&Import Data (Filewise)"_s, true),
        item(u"N2"_s, u"N2C"_s, u"&Import Data (Autonomous)"_s),
        item(u"N2"_s, u"N2D"_s, u"Import App Data (&Online)"_s),
        separator(u"N2"_s, u"N2Dsep"_s),
        item(u"N2"_s, u"N22"_s, u"&Student Entry"_s, true),
        item(u"N2"_s, u"N2E"_s, u"&Verification"_s),
        item(u"N2"_s, u"N23"_s, u"&Activation"_s, true),
        separator(u"N2"_s, u"N23sep"_s),
        item(u"N2"_s, u"N24"_s, u"&Degree Certificate Printing"_s, true),
        item(u"N2"_s, u"N2F"_s, u"&Degree Certificate Pdf Generation (NAD)"_s, true),
        item(u"N2"_s, u"N25"_s, u"&Cancel Certificate"_s, true),
        item(u"N2"_s, u"N29"_s, u"&Cancel Certificates (Range)"_s, true),
        item(u"N2"_s, u"N26"_s, u"&Recent Certificates"_s, true),
        item(u"N2"_s, u"N27"_s, u"&Student Search"_s, true),
        separator(u"N2"_s, u"N27SEP1"_s),
        item(u"N2"_s, u"N2A"_s, u"&Update Kannada Names"_s),
        item(u"N2"_s, u"N2B"_s, u"&Rank Registration"_s),

        top(u"N3"_s, u"&Reports"_s),
        item(u"N3"_s, u"N31"_s, u"&Student List"_s, true),
        item(u"N3"_s, u"N32"_s, u"&Activated List"_s, true),
        item(u"N3"_s, u"N33"_s, u"&Certificate Printed List"_s, true),
        item(u"N3"_s, u"N34"_s, u"A&ddress Label Printing"_s),
        item(u"N3"_s, u"N35"_s, u"Certificate Ca&ncelled List"_s, true),
        item(u"N3"_s, u"N36"_s, u"&Mismatch Report"_s, true),
        item(u"N3"_s, u"N37"_s, u"&Photo Paste Format"_s),
        separator(u"N3"_s, u"N37sep"_s),
        item(u"N3"_s, u"N38"_s, u"&Covering Letter"_s),
        item(u"N3"_s, u"N39"_s, u"&Online List"_s),
        item(u"N3"_s, u"N3A"_s, u"&NAD Report"_s),

        top(u"N4"_s, u"&Utilities"_s),
        item(u"N4"_s, u"N41"_s, u"&Control"_s),
        item(u"N4"_s, u"N42"_s, u"&Password"_s),
        item(u"N4"_s, u"N43"_s, u"&Security"_s),
        item(u"N4"_s, u"N44"_s, u"&Auto Correct"_s),
        separator(u"N4"_s, u"N44sep"_s),
        item(u"N4"_s, u"N47"_s, u"&User Backup"_s),
        item(u"N4"_s, u"N45"_s, u"&Restore Database"_s),
        item(u"N4"_s, u"N48"_s, u"Audit &Trail"_s),
        item(u"N4"_s, u"N49"_s, u"&Project Settings"_s),

        top(u"mnuwindow"_s, u"&Window"_s),

        top(u"mnuFilemain"_s, u"&Help"_s),
        item(u"mnuFilemain"_s, u"mnuAlt"_s, u"Alternate Keys"_s),
        separator(u"mnuFilemain"_s, u"MMM1"_s),
        item(u"mnuFilemain"_s, u"mnuhlpsearch"_s, u"Help Search"_s),

        top(u"MnuExit"_s, u"E&xit"_s),
    };
    return tree;
}

const MenuEntry *findMenuEntry(const QString &code)
{
    for (const MenuEntry &e : menuTree()) {
        if (e.code == code)
            return &e;
    }
    return nullptr;
}

MenuActions::MenuActions(QObject *parent)
    : QObject(parent)
{
    for (const MenuEntry &e : menuTree()) {
        auto *a = new QAction(e.caption, this);
        a->setObjectName(e.code);
        a->setSeparator(e.separator);
        a->setProperty("convocationCommand", e.convocationCommand);
        m_actions.push_back(a);
    }
}

QAction *MenuActions::action(const QString &code) const
{
    for (QAction *a : m_actions) {
        if (a->objectName() == code)
            return a;
    }
    return nullptr;
}

void MenuActions::applyPermissions(const Session &session)
{
    const bool administrator = session.isAdministrator();
    const bool adminConvocation = session.isAdminConvocation();
    for (QAction *a : m_actions) {
        if (a->isSeparator())
            continue;
        const MenuEntry *entry = findMenuEntry(a->objectName());
        const bool convocationBlocked = adminConvocation && entry && entry->convocationCommand;
        a->setEnabled(!convocationBlocked && permissions::allows(session.permissions, a->objectName(), administrator));
    }
}

} // namespace sw
