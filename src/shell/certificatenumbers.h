// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// Certificate numbers are issued, taken back and rewritten by one authority: the
// stationery ledger of the printing subsystem, which knows every number ever used.
// Code below that subsystem (the administrator's correction of a candidate) reaches
// it through this interface; the program installs the ledger in the Session after
// the login (see installNumberAuthority in the printing subsystem).
class CertificateNumberAuthority
{
public:
    struct Rewrite
    {
        QString regno;
        QString degree;
        QString college;
        QString numberRead; // the number the correction started from ("" for none)
        QString newNumber;  // "" takes the number back
    };

    virtual ~CertificateNumberAuthority();

    // Within the caller's transaction: stores `newNumber` on the candidate of the
    // session's convocation in place of `numberRead`, only while the candidate still
    // holds `numberRead`, and registers the change. Throws StopError, naming why,
    // when the new number is not a sheet number or belongs to someone else or was
    // used already. Returns false when the candidate no longer holds `numberRead`
    // (another workstation changed it) and nothing was written.
    virtual bool rewrite(const Rewrite &rewrite) = 0;
};

} // namespace sw
