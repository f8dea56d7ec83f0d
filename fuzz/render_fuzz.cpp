// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON form of a document (the `render` command, layouts designed by hand): any
// text is refused with the place named, or gives a document the renderer lays out
// and draws without reading or writing outside what it owns.
#include "fuzzgui.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentjson.h"
#include "shell/document/documentrenderer.h"

#include <QImage>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    sw::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const sw::Document doc =
            sw::DocumentJson::parse(sw::fuzz::bytes(data, size), u"fuzz.json"_s, sw::fuzz::scratch().path());
        const sw::DocumentRenderer renderer(doc);
        // A few dots to the inch: the drawing code runs whole while the image stays small.
        for (int page = 0; page < std::min(renderer.pageCount(), 2); ++page)
            (void)renderer.pageImage(page, 3);
    } catch (const sw::StopError &e) {
        sw::fuzz::require(!e.text().isEmpty());
    }
    return 0;
}
