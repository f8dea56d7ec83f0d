// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/runscreen.h"

#include "shell/forms/runprogress.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kPathLength = 1024;

} // namespace

RunScreen::RunScreen(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent)
    : ReportForm(context, formName, caption, parent)
    , m_fields(addFieldFrame())
{
}

RunScreen::~RunScreen() = default;

bool RunScreen::fieldLeft(QLineEdit *) { return true; }

void RunScreen::follow(QWidget *field)
{
    m_order << m_fields->keyOf(field);
    m_fields->setFieldOrder(m_order.join(u','));
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        m_fields->setCheck(edit, [this, edit] { return fieldLeft(edit); });
}

QLineEdit *RunScreen::addCode(int index, const QString &caption, int maxLength)
{
    QLineEdit *edit = m_fields->addText(index, caption, caption, maxLength);
    follow(edit);
    return edit;
}

QLineEdit *RunScreen::addDate(int index, const QString &caption)
{
    QLineEdit *edit = m_fields->addDate(index, caption, caption);
    follow(edit);
    return edit;
}

QCheckBox *RunScreen::addCheck(int index, const QString &caption)
{
    QCheckBox *box = m_fields->addCheck(index, caption);
    follow(box);
    return box;
}

QRadioButton *RunScreen::addOption(int index, const QString &caption)
{
    QRadioButton *button = m_fields->addOption(index, caption);
    follow(button);
    return button;
}

void RunScreen::setLookup(QLineEdit *field, std::function<LookupRequest()> request)
{
    m_fields->setLookup(field, std::move(request));
}

void RunScreen::makeExclusive(const QList<QCheckBox *> &boxes)
{
    for (QCheckBox *box : boxes) {
        connect(box, &QCheckBox::toggled, this, [box, boxes](bool on) {
            if (!on)
                return;
            for (QCheckBox *other : boxes) {
                if (other != box)
                    other->setChecked(false);
            }
        });
    }
}

QLineEdit *RunScreen::addPathBox(int index, const QString &label, const QString &toolTip)
{
    QLineEdit *box = m_fields->addText(index, label, toolTip, kPathLength);
    m_fields->keepCase(box);
    box->setMinimumWidth(kPathBoxWidth);
    m_browse = new QPushButton(u"..."_s, m_fields->box());
    m_browse->setObjectName(u"cmd_0"_s);
    m_browse->setToolTip(u"Browse"_s);
    m_browse->setFixedWidth(32);
    // Browsing from a box is no leaving it: a click keeps the focus where it is.
    m_browse->setFocusPolicy(Qt::TabFocus);
    // The path takes the room of a code and its description on the lines above it.
    widen(box);
    m_fields->grid()->setColumnStretch(2, 1);
    m_fields->moveBeside(m_browse, box);
    return box;
}

void RunScreen::widen(QWidget *field)
{
    QGridLayout *grid = m_fields->grid();
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(field), &row, &column, &rowSpan, &columnSpan);
    grid->removeWidget(field);
    grid->addWidget(field, row, column, 1, 2);
}

QPushButton *RunScreen::addRunButton(const QString &caption, const QString &toolTip)
{
    m_run = new QPushButton(caption);
    m_run->setObjectName(u"cmd_1"_s);
    m_run->setToolTip(toolTip);
    m_fields->addField(u"B1"_s, {}, m_run);
    return m_run;
}

void RunScreen::addButtonRow(const QString &key, const QList<QPushButton *> &buttons)
{
    auto *line = new QWidget;
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : buttons)
        row->addWidget(button);
    row->addStretch();
    m_fields->addField(key, {}, line);
}

void RunScreen::addProgressBar()
{
    m_pb = new QProgressBar(this);
    m_pb->setObjectName(u"PB"_s);
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    m_pb->setVisible(false);
    m_progress = std::make_unique<RunProgress>(*this, m_pb, RunProgress::Bar::ShownWhileRunning);
    m_fields->addField(u"PB"_s, {}, m_pb);
    m_pb->setMinimumWidth(kPathBoxWidth);
}

Progress RunScreen::startRun()
{
    showOutcome({});
    return m_progress->start();
}

void RunScreen::endRun() { m_progress->end(); }

} // namespace sw
