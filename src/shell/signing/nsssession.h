// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// NSS for signing and checking PDFs: its headers, and its set-up, which is once per
// process. Used by pdfsignature only.
#include <QString>

// NSS names a structure member "slots", which Qt defines as a keyword.
#pragma push_macro("slots")
#undef slots
#include <cert.h>
#include <cms.h>
#include <keyhi.h>
#include <nss.h>
#include <pk11pub.h>
#include <plstr.h>
#include <prerror.h>
#include <secerr.h>
#include <sechash.h>
#pragma pop_macro("slots")

namespace sw::nss {

// Opens NSS on the certificate database folder `database` (empty: without one) the
// first time it is called; later calls keep what the first opened. Throws StopError
// when the folder does not exist or cannot be opened.
void ensureOpen(const QString &database);
// Whether the process opened a certificate database, and so can judge trust.
bool hasDatabase();
// NSS's last error: its text and its name.
QString lastError();
// The common name of a certificate's subject.
QString commonName(CERTCertificate *cert);

} // namespace sw::nss
