// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/studentform.h"

#include "candidates/entry/gravetyping.h"
#include "shell/forms/kannadabox.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/db/database.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The boxes in the order they stand on the screen, one a line; each Kannada box
// then moves beside its English box and each description beside its code box.
const int kScreenOrder[] = {0, 1, 15, 24, 25, 20, 21, 22, 23, 2, 3, 4, 18, 5, 6, 7, 8, 9, 11, 10, 16, 17};
const std::pair<int, int> kKannadaBeside[] = {{15, 1}, {25, 24}, {21, 20}, {23, 22}};
// Shown boxes filled by look-ups, each with the code box it stands beside.
const std::pair<int, int> kDescriptions[] = {{12, 2}, {13, 3}, {14, 4}, {19, 18}};
// The English name boxes whose Kannada boxes the name library fills.
const int kEnglishNames[] = {1, 24, 20, 22};

constexpr int kPhotoWidth = 150;
constexpr int kPhotoHeight = 180;

QString toolTipFor(const CandidateField &field)
{
    switch (field.box) {
    case 5:
        return u"M - Male, F - Female"_s;
    case 10:
        return u"T - Activate, F - Deactivate"_s;
    case 16:
        return u"Print serial number"_s;
    default:
        return field.caption;
    }
}

int boxOf(const QObject *widget)
{
    const QString name = widget->objectName();
    if (!name.startsWith(u"text_"_s))
        return -1;
    bool ok = false;
    const int box = name.mid(5).toInt(&ok);
    return ok ? box : -1;
}

} // namespace

StudentForm::StudentForm(const FormContext &context)
    : RecordForm(context, u"STUDENT"_s, u"Students . . ."_s)
    , m_store(context.session, context.prompter)
    , m_img(new QLabel(this))
{
    for (const int box : kScreenOrder) {
        const CandidateField *f = candidateFieldAt(box);
        const int width = CandidateStore::columnWidth(f->column);
        QLineEdit *edit = addText(box, f->caption, toolTipFor(*f), width > 0 ? width : 50);
        // Kannada boxes hold the 8-bit letters of the legacy font, whose upper and
        // lower case are different letters: they keep what was typed, like the name.
        if (f->keepsCase || f->kannada)
            keepCase(edit);
        graveAccentTyping(edit);
    }
    placeKannadaBoxes();
    for (const auto &[shown, beside] : kDescriptions)
        addShownBox(shown, beside);
    text(7)->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9.]*"_s), text(7)));
    for (const int box : {2, 3, 4, 18})
        connect(text(box), &QLineEdit::textChanged, this, &StudentForm::fillDescriptions);

    setFieldOrder(u"T0,T1,T15,T24,T25,T20,T21,T22,T23,T2,T3,T4,T18,T5,T6,T7,T8,T9,T11,T10,T17"_s);
    setMandatoryFields(u"T0,T1,T2,T3,T4,T18,T7,T8,T17"_s);

    for (const int box : {0, 2, 3, 4, 17, 18}) {
        const CandidateLookup lookup = candidateLookup(box);
        setLookup(text(box), [this, lookup] {
            LookupRequest request{lookup.table, lookup.fields, {}, {}, {}, {}};
            // Candidates are chosen within the convocation of the session.
            if (lookup.table == u"convo"_s) {
                request.condition = u"fconvocode = ?"_s;
                request.params = {session().convoCode};
            }
            return request;
        });
    }

    // The photograph stands beside the frame, outside it: a disabled frame would grey it.
    m_img->setObjectName(u"IMG"_s);
    m_img->setFixedSize(kPhotoWidth, kPhotoHeight);
    m_img->setFrameShape(QFrame::Box);
    m_img->setAlignment(Qt::AlignCenter);
    m_img->setToolTip(u"Double click to choose a photograph"_s);
    m_img->installEventFilter(this);
    body()->removeWidget(frame());
    auto *row = new QHBoxLayout;
    row->addWidget(frame(), 1);
    row->addWidget(m_img, 0, Qt::AlignTop);
    body()->insertLayout(0, row);
}

QLineEdit *StudentForm::addShownBox(int index, int besideBox)
{
    auto *grid = qobject_cast<QGridLayout *>(frame()->layout());
    auto *edit = new QLineEdit(frame());
    edit->setObjectName(u"text_"_s + QString::number(index));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(text(besideBox)), &row, &column, &rowSpan, &columnSpan);
    grid->addWidget(edit, row, column + 1, 1, 2);
    registerField(u"T"_s + QString::number(index), edit);
    return edit;
}

// Two columns keep the record within one screen's height: the Kannada spelling of
// each name stands on the same line as the name.
void StudentForm::placeKannadaBoxes()
{
    auto *grid = qobject_cast<QGridLayout *>(frame()->layout());
    for (const auto &[kannada, english] : kKannadaBeside) {
        QLabel *caption = nullptr;
        for (QLabel *label : frame()->findChildren<QLabel *>()) {
            if (label->buddy() == text(kannada))
                caption = label;
        }
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(text(english)), &row, &column, &rowSpan, &columnSpan);
        grid->removeWidget(text(kannada));
        grid->addWidget(text(kannada), row, column + 2);
        if (caption) {
            grid->removeWidget(caption);
            grid->addWidget(caption, row, column + 1, Qt::AlignRight);
        }
    }
    // Names of thirty letters stay readable in either column.
    grid->setColumnMinimumWidth(1, 220);
    grid->setColumnStretch(3, 1);
}

BoundSql StudentForm::recordsetStatement() const
{
    return {u"select * from convo where convo.fconvocode = ? order by fdegree, fcollcode, fregno"_s,
            {session().convoCode}};
}

void StudentForm::resetForm()
{
    RecordForm::resetForm();
    clearPhoto();
    m_chosenPhoto.clear();
}

void StudentForm::enableForChange()
{
    frame()->setEnabled(true);
    enableFields(true);
    for (const auto &[shown, beside] : kDescriptions)
        text(shown)->setEnabled(false);
    text(16)->setEnabled(false);
    // The certificate number is the printing run's; only the administrator corrects it.
    text(9)->setEnabled(session().isAdministrator());
}

void StudentForm::AEDproc(const QString &operation)
{
    enableForChange();
    SetFieldColours(u'H');
    clearPhoto();
    setLegend(editLegend());
    const bool onScreen = !text(0)->text().trimmed().isEmpty();
    if (operation == u"add"_s) {
        setEditMode(u"A"_s);
        ClearControls();
        text(17)->setText(session().convoCode);
        text(0)->setFocus();
    } else if (operation == u"edit"_s) {
        setEditMode(u"E"_s);
        if (onScreen) {
            text(0)->setEnabled(false);
            moveFocus(text(0), true);
        } else {
            text(0)->setFocus();
        }
    } else {
        setEditMode(u"D"_s);
        if (onScreen) {
            text(0)->setEnabled(false);
            withdraw();
        } else {
            text(0)->setFocus();
        }
    }
}

CandidateRecord StudentForm::recordOnScreen() const
{
    CandidateRecord record;
    for (const CandidateField &f : candidateFields())
        record.set(f.column, KannadaBox::storedText(text(f.box)));
    return record;
}

void StudentForm::showRecord(const CandidateRecord &record)
{
    m_recordAsRead = record;
    for (const CandidateField &f : candidateFields())
        text(f.box)->setText(record.value(f.column));
    showPhoto(m_store.photoPath(record.regno()));
    setLegend(editMode() == u"Z"_s ? browseLegend() : editLegend());
}

void StudentForm::display_record(RecordSet &rows, const QString &)
{
    if (!rows.onRow())
        return;
    CandidateRecord record;
    for (const CandidateField &f : candidateFields())
        record.set(f.column, rows.text(f.column));
    showRecord(record);
}

void StudentForm::applyKannadaFonts()
{
    // Set when the screen is first activated: the appearance given to every screen
    // as it opens sets one font for all boxes.
    for (const CandidateField &f : candidateFields()) {
        if (f.kannada)
            KannadaBox::attach(text(f.box), u"Nudi 01 e"_s, 13);
    }
}

void StudentForm::activated()
{
    if (m_firstActivate)
        applyKannadaFonts();
    RecordForm::activated();
    if (!m_pendingCandidate.isEmpty())
        showFromRows(std::exchange(m_pendingCandidate, QString()));
}

bool StudentForm::showCandidate(const QString &regno)
{
    if (editMode() != u"Z"_s)
        return false;
    if (m_firstActivate) {
        m_pendingCandidate = regno;
        return true;
    }
    return showFromRows(regno);
}

bool StudentForm::showFromRows(const QString &regno)
{
    RecordSet &rows = rsdisp();
    for (rows.moveFirst(); rows.onRow(); rows.moveNext()) {
        if (rows.text(u"fregno"_s) == regno) {
            display_record(rows, u"search"_s);
            return true;
        }
    }
    rows.moveFirst();
    return false;
}

void StudentForm::fillDescriptions()
{
    const CandidateDescriptions d = m_store.describe(recordOnScreen());
    text(12)->setText(d.degree);
    text(13)->setText(d.college);
    text(14)->setText(d.className);
    text(19)->setText(d.university);
}

void StudentForm::fillKannadaFromLibrary()
{
    const CandidateRecord typed = recordOnScreen();
    const CandidateRecord filled = m_store.withLibraryNames(typed);
    for (const CandidateField &f : candidateFields()) {
        if (f.kannada && filled.value(f.column) != typed.value(f.column))
            text(f.box)->setText(filled.value(f.column));
    }
}

QPixmap StudentForm::photo() const
{
    return m_img->pixmap();
}

void StudentForm::showPhoto(const QString &path)
{
    const QPixmap picture(path);
    if (path.isEmpty() || picture.isNull()) {
        clearPhoto();
        return;
    }
    m_img->setPixmap(picture.scaled(m_img->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void StudentForm::clearPhoto()
{
    m_img->clear();
}

void StudentForm::choosePhoto()
{
    if (editMode() != u"A"_s && editMode() != u"E"_s)
        return;
    const auto chosen = prompter().chooseFile(u"Photograph"_s, {}, u"*.jpg"_s, Prompter::FileMode::Open);
    if (!chosen || chosen->isEmpty())
        return;
    m_chosenPhoto = *chosen;
    showPhoto(m_chosenPhoto);
}

bool StudentForm::chooseCandidate()
{
    const std::optional<CandidateRecord> found = m_store.find(text(0)->text());
    if (!found) {
        prompter().message(u"Invalid Reg. No."_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    showRecord(*found);
    SetFieldColours(u'D');
    if (editMode() == u"D"_s) {
        withdraw();
        return false; // the screen has been reset: the focus stays where it is
    }
    // The key of the candidate being corrected no longer changes.
    text(0)->setEnabled(false);
    return true;
}

bool StudentForm::acceptBox(int box)
{
    const QString mode = editMode();
    if (box == 0 && (mode == u"E"_s || mode == u"D"_s))
        return chooseCandidate();
    if (mode != u"A"_s && mode != u"E"_s)
        return true;
    if (auto problem = m_store.checkField(box, recordOnScreen(), mode == u"A"_s ? EntryMode::Add : EntryMode::Edit)) {
        m_store.show(*problem);
        return false;
    }
    if (std::find(std::begin(kEnglishNames), std::end(kEnglishNames), box) != std::end(kEnglishNames))
        fillKannadaFromLibrary();
    return true;
}

bool StudentForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_img) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            choosePhoto();
            return true;
        }
        return RecordForm::eventFilter(watched, event);
    }
    const int box = boxOf(watched);
    if (box >= 0 && event->type() == QEvent::FocusOut && editMode() != u"Z"_s && !m_checkingLeave) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Enter and Down checked the box before they moved; any other way out (Tab, the
        // mouse) is checked here. A message box taking the focus is no way out.
        if (m_acceptedByKey == box)
            m_acceptedByKey = -1;
        else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, [this, box] { checkBoxLeft(box); });
    }
    if (box >= 0 && event->type() == QEvent::KeyPress && editMode() != u"Z"_s) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // While adding, the register number is new: there is nothing to look up.
        if (key->key() == Qt::Key_F1 && box == 0 && editMode() == u"A"_s)
            return true;
        const bool forward = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Down;
        // An empty mandatory box is the framework's to refuse as the focus leaves it.
        if (forward && !FieldMissing(text(box))) {
            if (!acceptBox(box)) {
                if (text(box)->isEnabled())
                    text(box)->setFocus();
                return true;
            }
            m_acceptedByKey = box;
            if (box == 0 && !text(0)->isEnabled()) {
                moveFocus(text(0), true);
                return true;
            }
        }
    }
    return RecordForm::eventFilter(watched, event);
}

void StudentForm::checkBoxLeft(int box)
{
    QWidget *to = QApplication::focusWidget();
    QLineEdit *left = text(box);
    // Only a move to another field of this screen is checked: a click on the toolbar
    // (Save, Cancel) or another window never traps the clerk in a box.
    if (!to || to == left || !isAncestorOf(to) || m_checkingLeave || editMode() == u"Z"_s || FieldMissing(left))
        return;
    m_checkingLeave = true;
    if (!acceptBox(box) && left->isEnabled())
        returnFocusTo(left);
    m_checkingLeave = false;
}

void StudentForm::CmdSave_Click()
{
    try {
        const QString mode = editMode();
        if (mode == u"D"_s) {
            if (!text(0)->text().trimmed().isEmpty())
                withdraw();
            return;
        }
        if (mode != u"A"_s && mode != u"E"_s)
            return;
        const CandidateSaveOutcome outcome =
            m_store.save(recordOnScreen(), mode == u"A"_s ? EntryMode::Add : EntryMode::Edit, m_chosenPhoto,
                         m_recordAsRead);
        if (!outcome.saved) {
            if (outcome.problem) {
                QLineEdit *box = text(outcome.problem->box);
                if (box->isEnabled())
                    box->setFocus();
            }
            return;
        }
        text(16)->setText(outcome.serialNumber);
        rsdisp().requery(session().db());
        resetForm();
    } catch (const std::exception &e) {
        showError(e);
    }
}

void StudentForm::withdraw()
{
    try {
        m_store.withdraw(text(0)->text());
        rsdisp().requery(session().db());
    } catch (const std::exception &e) {
        showError(e);
    }
    resetForm();
}

} // namespace sw
