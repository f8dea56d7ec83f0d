// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/namelibrary/updkanname.h"

#include "masters/namelibrary/kannadanameupdate.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace sw {

UpdKanName::UpdKanName(const FormContext &context)
    : ChildForm(context, u"UPDKANNAME"_s, u"Update Kannada Names . . ."_s)
    , m_library(new QCheckBox(u"&Update Library"_s, this))
    , m_upload(new QPushButton(u"&Upload"_s, this))
    , m_pb(new QProgressBar(this))
{
    m_library->setObjectName(u"chk"_s);
    m_upload->setObjectName(u"cmd"_s);
    m_pb->setObjectName(u"PB"_s);
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    auto *row = new QHBoxLayout;
    row->addWidget(m_library);
    row->addStretch();
    row->addWidget(m_upload);
    body()->addLayout(row);
    body()->addWidget(m_pb);
    body()->addStretch();
    connect(m_upload, &QPushButton::clicked, this, &UpdKanName::cmd_Click);
}

void UpdKanName::activated()
{
    commands().setToolMode(ToolMode::Disabled);
}

void UpdKanName::cmd_Click()
{
    m_upload->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QElapsedTimer sincePaint;
    sincePaint.start();
    int shownPercent = -1;
    // A run of many thousand rows repaints a few times a second, not once per row.
    KannadaNameUpdate update(session().db(), prompter(), [&](const QString &status, int percent) {
        const bool moved = percent >= 0 && percent != shownPercent;
        if (!moved && sincePaint.elapsed() < 200 && !status.isEmpty())
            return;
        setHint(status);
        if (percent >= 0) {
            m_pb->setValue(percent);
            shownPercent = percent;
        }
        sincePaint.restart();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (m_library->isChecked())
        update.build();
    else
        update.fill();
    QApplication::restoreOverrideCursor();
    m_pb->setValue(0);
    setHint({});
    m_upload->setEnabled(true);
}

} // namespace sw
