// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sw {

// The static verification page: index.html (the institution's name and public key in
// it), verify.css, verify.js and the Ed25519 library it uses (tweetnacl-js 1.0.3, public
// domain, with its licence), and the public key as issuer.pub. The page needs no server
// and fetches nothing from elsewhere; the status lists (StatusListWriter) go beside it.
class VerifyPage
{
public:
    // Writes the page's files into `folder`; returns their names.
    static QStringList write(const QString &folder, const QString &institution, const QByteArray &publicKey);
};

} // namespace sw
