// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/fieldframe.h"

#include <optional>

namespace sw {

class Session;

// The codes of the master tables as every screen offers them: the F1 lookup under the
// captions "Code" and "Description" (and "Speciality" for degrees, so that two degrees
// of one description are told apart), narrowed to the codes a screen deals in, and
// the description a screen shows beside a code. Screens ask here; none reads a
// master's description with a statement of its own. The sources it hands out refer
// to it: it lives as long as the screen that uses them.
class MasterCodes
{
public:
    enum class Master { Degree, College, Class, University, Convocation };

    explicit MasterCodes(const Session &session);

    // The lookup of a master; `condition` (with `params`) narrows it to the codes the
    // screen deals in ("fdegree in (select fdegree from convo where ...)").
    LookupRequest lookup(Master master, const QString &condition = {}, const QVariantList &params = {}) const;
    // The same lookup narrowed as `narrowing` is (a store's request over the same table).
    LookupRequest lookup(Master master, const LookupRequest &narrowing) const;
    // What the code stands for (the degree's description, the college's name, ...);
    // nullopt when the master has no such code.
    std::optional<QString> describe(Master master, const QString &code) const;
    // The message a box gives a code the master does not have ("Invalid Degree Code").
    static QString invalidMessage(Master master);
    // Lookup, description and message together, for a code box of a FieldFrame.
    CodeSource source(Master master, std::function<LookupRequest()> lookup = {}) const;

    // The degree's description with its speciality in brackets when it has one.
    std::optional<QString> degreeWithSpeciality(const QString &code) const;

private:
    const Session &m_session;
};

// The captions of a lookup's columns, for lookups that list candidates and the like.
LookupRequest withHeadings(LookupRequest request, const QStringList &headings);

} // namespace sw
