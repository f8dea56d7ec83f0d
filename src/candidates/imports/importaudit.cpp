// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importaudit.h"

#include "shell/audit/audittrail.h"
#include "shell/session.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

void recordImport(Session &session, const QString &kind, const QString &source, const QString &counts)
{
    AuditTrail(session.db())
        .record(session.userName, {u"imports"_s, kind, u"convo"_s, QFileInfo(source).fileName(), {}, counts});
}

} // namespace sw
