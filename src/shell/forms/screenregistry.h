// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace sw {

// How a screen plugs into the main window. Each menu code that opens a screen
// has an entry here; a code without one opens a "not yet available" child, so
// the menu tree is complete before every screen exists.
//
// The shell cannot link the subsystems' screens, so each subsystem library offers
// one function that fills the registry, for example
//
//     void registerMastersScreens(ScreenRegistry &screens)
//     {
//         screens.add(u"N13"_s, {u"MASCLASS"_s, false, [](const FormContext &c, const QString &) {
//             return new MasClass(c);
//         }});
//     }
//
// and the GUI program (src/app/main.cpp) calls it before runGui(). The factory
// receives the context and the menu code chosen (a screen reached from two codes,
// like the printing run from N24 and N2F, sets its mode from it). It returns the
// screen, which the main window takes ownership of, or nullptr when it did its
// work without one (a question and a run, like the backup).
//
// A screen whose form name is already open is brought to the front instead of
// being opened again, so it keeps its state and mode. A modal entry must return a
// QDialog; it is run with exec() and deleted when it closes.
struct ScreenEntry
{
    QString formName;
    bool modal = false;
    std::function<QWidget *(const FormContext &context, const QString &menuCode)> create;
};

class ScreenRegistry
{
public:
    void add(const QString &menuCode, ScreenEntry registered) { m_entries.insert(menuCode, std::move(registered)); }
    const ScreenEntry *find(const QString &menuCode) const
    {
        const auto it = m_entries.constFind(menuCode);
        return it == m_entries.constEnd() ? nullptr : &*it;
    }
    bool contains(const QString &menuCode) const { return m_entries.contains(menuCode); }

    // What a subsystem installs in the session once the user has logged in (the
    // printing subsystem's authority over certificate numbers).
    void addSessionSetup(std::function<void(Session &)> setup) { m_sessionSetups.push_back(std::move(setup)); }
    void setUpSession(Session &session) const
    {
        for (const auto &setup : m_sessionSetups)
            setup(session);
    }

private:
    QHash<QString, ScreenEntry> m_entries;
    std::vector<std::function<void(Session &)>> m_sessionSetups;
};

} // namespace sw
