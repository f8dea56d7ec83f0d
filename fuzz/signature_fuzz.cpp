// SPDX-License-Identifier: GPL-3.0-or-later
// Signed PDF copies come back from outside (a student, an employer, the depository) to be
// checked: PoDoFo reads the file and NSS the signature in it, whatever bytes it holds. The
// check answers every file with a verdict, and a file it does not find valid with the
// reason.
#include "fuzzsupport.h"
#include "shell/signing/pdfsignature.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const sw::SignatureCheck check = sw::verifyPdfSignature(sw::fuzz::bytes(data, size));
    sw::fuzz::require(check.valid || !check.problem.isEmpty());
    sw::fuzz::require(!check.describe().isEmpty());
    return 0;
}
