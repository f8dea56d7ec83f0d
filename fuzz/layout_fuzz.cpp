// SPDX-License-Identifier: GPL-3.0-or-later
// Institution 001 moves the texts of its certificates by editing Layouts/CONVOn.json.
// Whatever the file holds, the printing run either refuses it with the file named or
// composes a certificate from it, with the typed positions applied.
#include "certificates/layouts/designerlayout.h"
#include "fuzzgui.h"
#include "shell/core/appfolder.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentrenderer.h"

#include <QDir>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    sw::fuzz::startGuiApplication();
    QDir(sw::fuzz::scratch().path()).mkpath(u"Layouts"_s);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    sw::fuzz::writeScratch(u"Layouts/CONVO1.json"_s, sw::fuzz::bytes(data, size));
    const sw::AppFolder folder(sw::fuzz::scratch().path());
    try {
        sw::DesignerLayout layout(folder, u"1"_s);
        layout.place(sw::DesignerLayout::Name, {u"4.5"_s, u"1"_s, u"20"_s});
        layout.place(sw::DesignerLayout::RegNo, {u"x"_s, {}, u"-3"_s});
        sw::CertificateRow row;
        row.regno = u"03SC1001"_s;
        row.name = u"ANU K"_s;
        row.descpn = u"BACHELOR OF SCIENCE"_s;
        row.classDesc = u"FIRST CLASS"_s;
        row.convoDate = u"12/03/2026"_s;
        const sw::Document doc = layout.compose(row, u"000123"_s);
        const sw::DocumentRenderer renderer(doc);
        if (renderer.pageCount() > 0)
            (void)renderer.pageImage(0, 3);
    } catch (const sw::StopError &e) {
        sw::fuzz::require(e.text().contains(u"CONVO1"_s));
    }
    return 0;
}
