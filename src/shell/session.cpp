// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

CertificateNumberAuthority::~CertificateNumberAuthority() = default;

bool Session::isAdministrator() const { return userName.compare(u"ADMIN"_s, Qt::CaseInsensitive) == 0; }

bool Session::isAdminConvocation() const { return convoCode == adminConvocation(); }

} // namespace sw
