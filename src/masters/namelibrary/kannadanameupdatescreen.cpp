// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/namelibrary/kannadanameupdatescreen.h"

#include "masters/namelibrary/kannadanameupdate.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/session.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace sw {

KannadaNameUpdateScreen::KannadaNameUpdateScreen(const FormContext &context)
    : ChildForm(context, u"UPDKANNAME"_s, u"Update Kannada Names . . ."_s)
    , m_fields(addFieldFrame())
    , m_upload(new QPushButton(u"&Upload"_s))
    , m_pb(new QProgressBar)
    , m_progress(*this, m_pb, RunProgress::Bar::AlwaysShown)
{
    m_library = m_fields->addCheck(0, u"&Update Library"_s);
    m_library->setObjectName(u"chk"_s);
    m_library->setToolTip(u"Ticked: the library learns the words of the Kannada names already known; unticked: "
                          "missing Kannada names are filled from the library"_s);
    m_upload->setObjectName(u"cmd"_s);
    m_upload->setToolTip(u"Runs the update; Enter presses it"_s);
    m_fields->addField(u"B0"_s, {}, m_upload);
    m_fields->moveBeside(m_upload, m_library);
    m_pb->setObjectName(u"PB"_s);
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    m_pb->setMinimumWidth(380);
    m_fields->addField(u"PB"_s, {}, m_pb);
    m_fields->setFieldOrder(u"C0,B0"_s);
    connect(m_upload, &QPushButton::clicked, this, &KannadaNameUpdateScreen::cmd_Click);
}

void KannadaNameUpdateScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    if (m_firstActivate) {
        m_firstActivate = false;
        m_fields->focusFirst();
    }
}

void KannadaNameUpdateScreen::cmd_Click()
{
    m_upload->setEnabled(false);
    showOutcome({});
    KannadaNameUpdate update(session().db(), prompter(), m_progress.start());
    const bool building = m_library->isChecked();
    const KannadaNameUpdate::Result result = building ? update.build() : update.fill();
    m_progress.end();
    if (building)
        showOutcome(u"%1 word(s) added to the library from %2 name row(s)"_s.arg(result.wordsAdded).arg(result.rows));
    else
        showOutcome(u"%1 Kannada name(s) filled in %2 candidate row(s)"_s.arg(result.namesFilled).arg(result.rows));
    if (!result.done && !result.stoppedAt.isEmpty())
        showOutcome(outcome() + u"; stopped at "_s + result.stoppedAt);
    m_upload->setEnabled(true);
}

} // namespace sw
