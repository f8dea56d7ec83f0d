// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportoptions.h"

#include "shell/core/stoperror.h"

using namespace Qt::StringLiterals;

namespace sw::reportoptions {

const std::vector<BatchOption> &ranges()
{
    static const std::vector<BatchOption> options = {
        {u"degree-from"_s, u"CODE"_s, u"first degree (every degree when not given)"_s},
        {u"degree-to"_s, u"CODE"_s, u"last degree"_s},
        {u"college-from"_s, u"CODE"_s, u"first college (every college when not given)"_s},
        {u"college-to"_s, u"CODE"_s, u"last college"_s}};
    return options;
}

const std::vector<BatchOption> &dates()
{
    static const std::vector<BatchOption> options = {{u"from"_s, u"dd/mm/yyyy"_s, u"first date (required)"_s},
                                                     {u"to"_s, u"dd/mm/yyyy"_s, u"last date (required)"_s}};
    return options;
}

std::vector<BatchOption> joined(std::initializer_list<std::vector<BatchOption>> parts)
{
    std::vector<BatchOption> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

RangeSelection rangeSelection(BatchContext &c)
{
    RangeSelection s{c.args.value(u"degree-from"_s), c.args.value(u"degree-to"_s), c.args.value(u"college-from"_s),
                     c.args.value(u"college-to"_s)};
    s.normaliseRanges();
    return s;
}

PrintedListSelection printedSelection(BatchContext &c)
{
    PrintedListSelection s{c.args.value(u"degree-from"_s),
                           c.args.value(u"degree-to"_s),
                           c.args.value(u"college-from"_s),
                           c.args.value(u"college-to"_s),
                           {},
                           {}};
    const QString problem = s.takeDates(c.required(u"from"_s), c.required(u"to"_s));
    if (!problem.isEmpty())
        throw StopError(problem + u" (--from "_s + c.args.value(u"from"_s) + u", --to "_s + c.args.value(u"to"_s)
                            + u')',
                        PromptIcon::Exclamation);
    s.normaliseRanges();
    return s;
}

} // namespace sw::reportoptions
