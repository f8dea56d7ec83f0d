// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pages must not change with the fonts a machine happens to have. A test that writes its
// pages as PDFs into $SCROLLWISE_PAGES_OUT (and skips when it is not set) is run twice by
// `pagesThatDependOnFonts`, as a separate process of the same test program: once under the
// project's own font configuration (tests/fonts/fonts.conf) and once with every font the
// machine has. Each PDF is then read back by poppler: the fonts it embeds (pdffonts) and
// every word with its place (pdftotext -bbox) must be the same in both.
#include <QString>
#include <QStringList>

namespace sw::test {

// The folder a page-writing test writes into, empty when it is not run for the comparison.
QString pagesOutFolder();

// The differences found, one line each ("labels.pdf: word 12 ...", "letters.pdf: fonts ..."),
// or a line saying why the comparison could not be made; empty when the pages are the same.
// `filter` is the --gtest_filter that selects the page-writing tests.
QStringList pagesThatDependOnFonts(const QString &filter);

} // namespace sw::test
