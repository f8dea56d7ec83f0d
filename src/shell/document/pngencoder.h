// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

namespace sw {

// Page previews as PNG, written with libpng tuned for pages of text on white: no row
// filter and run-length compression. Qt's own PNG writer tries every filter on every
// row, which costs ten times the drawing of the page.
QByteArray encodePagePng(const QImage &page);

} // namespace sw
