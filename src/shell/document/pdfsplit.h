// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <vector>

namespace sw {

class SharedOutlines;

// `pdf`, as Qt wrote several documents one after another (`pageCounts` pages each), as one
// file per document, with `outlines`' markers made their forms first. Each file takes only
// the objects its own pages use, their streams copied as they are, not compressed again:
// what the documents share is compressed once for the batch. Each file is complete on its
// own. Throws StopError when the PDF cannot be read or does not hold the pages counted.
std::vector<QByteArray> splitPdf(const QByteArray &pdf, const std::vector<int> &pageCounts,
                                 const SharedOutlines &outlines);

} // namespace sw
