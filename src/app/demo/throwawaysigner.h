// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// A certificate authority and a document-signing certificate it issued, made with NSS's
// certutil in a new NSS database: enough to try signing PDF copies (the demonstration
// folder, the tests) where no real Class 3 certificate is at hand. Nothing about it is
// trustworthy beyond the folder it is made in.
struct ThrowAwaySigner
{
    QString database;   // the NSS database folder
    QString nickname;   // the signer's certificate
    QString commonName; // its subject's common name
    QString pin;        // the database's password

    // Makes the database under `database` (created; it must not hold one yet). Throws
    // StopError with certutil's own words when certutil is missing or fails.
    static ThrowAwaySigner make(const QString &database, const QString &pin,
                                const QString &commonName = QStringLiteral("The Registrar"),
                                const QString &nickname = QStringLiteral("Registrar"));
    static bool certutilAvailable();
};

} // namespace sw
