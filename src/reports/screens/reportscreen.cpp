// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/screens/reportscreen.h"

#include "reports/output/previewfrm.h"
#include "reports/output/reportoutput.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/document/documentoutput.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
const QString kDateMask = u"99/99/9999;_"_s;

QString reportError(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->reportMessage();
    if (const auto *stop = dynamic_cast<const StopError *>(&e))
        return stop->text();
    return u"Error Message  : Err No. 0  "_s + QString::fromLocal8Bit(e.what());
}
} // namespace

ReportScreen::ReportScreen(const FormContext &context, const QString &formName, const QString &caption,
                           QWidget *parent)
    : ReportForm(context, formName, caption, parent)
    , m_report(context.session.folder)
{
    m_frame = new QGroupBox(this);
    m_frame->setObjectName(u"Frame"_s);
    m_grid = new QGridLayout(m_frame);
    body()->addWidget(m_frame);
    body()->addStretch();
}

ReportScreen::~ReportScreen()
{
    try {
        m_report.remove();
    } catch (const StopError &e) {
        prompter().message(e.text(), u"Message"_s, PromptIcon::Exclamation);
    }
}

QLineEdit *ReportScreen::text(int index) const
{
    const auto it = m_fields.find(u"text_"_s + QString::number(index));
    return it == m_fields.end() ? nullptr : qobject_cast<QLineEdit *>(it->second);
}

QLineEdit *ReportScreen::mskdt(int index) const
{
    const auto it = m_fields.find(u"mskdt_"_s + QString::number(index));
    return it == m_fields.end() ? nullptr : qobject_cast<QLineEdit *>(it->second);
}

QCheckBox *ReportScreen::chk(int index) const
{
    const auto it = m_fields.find(u"chk_"_s + QString::number(index));
    return it == m_fields.end() ? nullptr : qobject_cast<QCheckBox *>(it->second);
}

void ReportScreen::addRow(const QString &caption, QWidget *field, QWidget *beside)
{
    if (!caption.isEmpty()) {
        auto *label = new QLabel(caption, m_frame);
        label->setObjectName(u"Label1_"_s + QString::number(m_nextRow));
        label->setBuddy(field);
        m_grid->addWidget(label, m_nextRow, 0);
    }
    m_grid->addWidget(field, m_nextRow, 1);
    if (beside)
        m_grid->addWidget(beside, m_nextRow, 2);
    ++m_nextRow;
    m_fields[field->objectName()] = field;
    if (beside)
        m_fields[beside->objectName()] = beside;
    m_order.append(field);
    field->installEventFilter(this);
}

QLineEdit *ReportScreen::addCode(int index, const QString &caption, int maxLength, int descriptionIndex)
{
    auto *edit = new QLineEdit(m_frame);
    edit->setObjectName(u"text_"_s + QString::number(index));
    edit->setMaxLength(maxLength);
    edit->setToolTip(caption);
    connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &typed) {
        const QString upper = typed.toUpper();
        if (upper != typed) {
            const int at = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(at);
        }
    });
    QLineEdit *description = nullptr;
    if (descriptionIndex >= 0) {
        description = new QLineEdit(m_frame);
        description->setObjectName(u"text_"_s + QString::number(descriptionIndex));
        description->setReadOnly(true);
        description->setFocusPolicy(Qt::NoFocus);
        description->setMinimumWidth(320);
    }
    addRow(caption, edit, description);
    return edit;
}

QLineEdit *ReportScreen::addDate(int index, const QString &caption)
{
    auto *edit = new QLineEdit(m_frame);
    edit->setObjectName(u"mskdt_"_s + QString::number(index));
    edit->setInputMask(kDateMask);
    edit->setToolTip(caption);
    addRow(caption, edit);
    return edit;
}

QCheckBox *ReportScreen::addCheck(int index, const QString &caption)
{
    auto *box = new QCheckBox(caption, m_frame);
    box->setObjectName(u"chk_"_s + QString::number(index));
    addRow({}, box);
    return box;
}

QRadioButton *ReportScreen::opt(int index) const
{
    const auto it = m_fields.find(u"opt_"_s + QString::number(index));
    return it == m_fields.end() ? nullptr : qobject_cast<QRadioButton *>(it->second);
}

QRadioButton *ReportScreen::addOption(int index, const QString &caption)
{
    auto *button = new QRadioButton(caption, m_frame);
    button->setObjectName(u"opt_"_s + QString::number(index));
    addRow({}, button);
    return button;
}

void ReportScreen::makeExclusive(const QList<int> &checkIndexes)
{
    for (int index : checkIndexes) {
        QCheckBox *box = chk(index);
        connect(box, &QCheckBox::toggled, this, [this, box, checkIndexes](bool on) {
            if (!on)
                return;
            for (int other : checkIndexes) {
                if (chk(other) != box)
                    chk(other)->setChecked(false);
            }
        });
    }
}

void ReportScreen::setLookup(QLineEdit *field, std::function<LookupRequest()> request)
{
    m_lookups.insert(field, std::move(request));
}

LookupRequest ReportScreen::degreeLookup() const
{
    LookupRequest r;
    r.table = u"degree"_s;
    r.columns = u"fdegree as Degree, fdescpn as Description"_s;
    r.condition = u"fdegree in (select fdegree from convo where convo.fconvocode = ?)"_s;
    r.params = {session().convoCode};
    return r;
}

LookupRequest ReportScreen::collegeLookup(const QString &degree) const
{
    LookupRequest r;
    r.table = u"college"_s;
    r.columns = u"fcollcode as College, fcollname as Name"_s;
    if (degree.isEmpty()) {
        r.condition = u"fcollcode in (select fcollcode from convo where convo.fconvocode = ?)"_s;
        r.params = {session().convoCode};
    } else {
        r.condition = u"fcollcode in (select fcollcode from convo where fdegree = ? and convo.fconvocode = ?)"_s;
        r.params = {degree, session().convoCode};
    }
    return r;
}

bool ReportScreen::checkDegree(QLineEdit *code, QLineEdit *description, bool required)
{
    const QString value = code->text().trimmed();
    if (value.isEmpty()) {
        if (description)
            description->clear();
        if (!required)
            return true;
        prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
        return false;
    }
    Rows rows = session().db().query(u"select fdescpn from degree where fdegree = ?"_s, {value});
    if (!rows.next()) {
        prompter().message(u"Invalid Course Code"_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    if (description)
        description->setText(rows.text(0));
    return true;
}

void ReportScreen::describeCollege(QLineEdit *code, QLineEdit *description)
{
    if (!description)
        return;
    description->setText(
        session().db().scalar(u"select fcollname from college where fcollcode = ?"_s, {code->text().trimmed()}).toString());
}

bool ReportScreen::fieldLeft(QLineEdit *)
{
    return true;
}

void ReportScreen::addRangeLookups()
{
    for (int i : {0, 1})
        setLookup(text(i), [this] { return degreeLookup(); });
    for (int i : {2, 3})
        setLookup(text(i), [this] { return collegeLookup({}); });
}

bool ReportScreen::leaveRangeField(QLineEdit *field)
{
    for (int i : {0, 1}) {
        if (field == text(i))
            return checkDegree(text(i), text(10 + i), false);
    }
    for (int i : {2, 3}) {
        if (field == text(i))
            describeCollege(text(i), text(10 + i));
    }
    return true;
}

PageHeaderSource ReportScreen::pageHeader() const
{
    return institutionPageHeader(session());
}

void ReportScreen::showOutput(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!documentoutput::showFile(path))
        prompter().message(u"Written to "_s + path, u"Message"_s, PromptIcon::Information);
}

void ReportScreen::VPSproc(const QString &operation)
{
    if (operation != u"preview"_s)
        return;
    setHint(u"Generating, Please Wait ..."_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool preview = false;
    try {
        preview = generate();
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        setHint({});
        prompter().message(reportError(e), u"Message"_s, PromptIcon::Critical);
        return;
    }
    QApplication::restoreOverrideCursor();
    setHint({});
    if (preview)
        ShowReportPreview(m_report.path(), session().folder, prompter(), reportPrinting(session()), this);
}

void ReportScreen::openLookup(QLineEdit *field)
{
    const auto it = m_lookups.constFind(field);
    if (it == m_lookups.constEnd())
        return;
    try {
        if (const auto code = FrmHLPItem::choose(session().db(), prompter(), (*it)(), this))
            field->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    field->setFocus();
}

void ReportScreen::move(QWidget *from, bool forward)
{
    qsizetype at = m_order.indexOf(from);
    while (at >= 0) {
        at += forward ? 1 : -1;
        if (at < 0 || at >= m_order.size())
            return;
        if (m_order[at]->isEnabled()) {
            m_order[at]->setFocus();
            return;
        }
    }
}

bool ReportScreen::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return ReportForm::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *edit = qobject_cast<QLineEdit *>(widget);
        if (key->key() == Qt::Key_F1 && edit && m_lookups.contains(edit)) {
            openLookup(edit);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Down) {
            move(widget, true);
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            move(widget, false);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && !m_leaving) {
        auto *edit = qobject_cast<QLineEdit *>(widget);
        const auto *focus = static_cast<QFocusEvent *>(event);
        // Leaving for another window (a message box, the lookup) is no leaving.
        if (edit && focus->reason() != Qt::ActiveWindowFocusReason && focus->reason() != Qt::PopupFocusReason) {
            m_leaving = true;
            const bool ok = fieldLeft(edit);
            m_leaving = false;
            if (!ok)
                QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
        }
    }
    return ReportForm::eventFilter(watched, event);
}

} // namespace sw
