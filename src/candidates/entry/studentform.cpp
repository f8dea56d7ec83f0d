// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/studentform.h"

#include "candidates/entry/gravetyping.h"
#include "shell/forms/kannadabox.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/db/database.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The boxes in the order they stand on the screen, one a line; each Kannada box
// then moves beside its English box and each description beside its code box.
const int kScreenOrder[] = {0, 1, 15, 24, 25, 20, 21, 22, 23, 2, 3, 4, 18, 5, 6, 7, 8, 27, 26, 28, 9, 11, 10, 16, 17};
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
    case 5: return u"M - Male, F - Female"_s;
    case 10: return u"T - Activate, F - Deactivate"_s;
    case 16: return u"Print serial number"_s;
    case 26: return u"Date of Birth in dd/mm/yyyy format"_s;
    case 27: return u"Exam type: the letter of the copies' file names (DC_..._F_YEAR_TYPE.pdf)"_s;
    case 28: return u"APAAR / ABC ID: the student's academic account, 12 digits"_s;
    default: return field.caption;
    }
}

} // namespace

StudentForm::StudentForm(const FormContext &context)
    : RecordForm(context, u"STUDENT"_s, u"Students . . ."_s)
    , m_store(context.session, context.prompter)
    , m_codes(context.session)
    , m_img(new QLabel(this))
{
    for (const int box : kScreenOrder) {
        const CandidateField *f = candidateFieldAt(box);
        const int width = CandidateStore::columnWidth(f->column);
        QLineEdit *edit = addText(box, f->caption, toolTipFor(*f), width > 0 ? width : 50);
        const std::pair<const char16_t *, QLineEdit **> named[] = {{u"fregno", &m_regno},
                                                                   {u"fyear", &m_year},
                                                                   {u"fcertno", &m_certNo},
                                                                   {u"fprintord", &m_serialNo},
                                                                   {u"fconvocode", &m_convocation}};
        for (const auto &[column, member] : named) {
            if (f->column == QStringView(column))
                *member = edit;
        }
        // Kannada boxes hold the 8-bit letters of the legacy font, whose upper and
        // lower case are different letters: they keep what was typed, like the name.
        if (f->keepsCase || f->kannada)
            keepCase(edit);
        graveAccentTyping(edit);
    }
    placeKannadaBoxes();
    m_year->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9.]*"_s), m_year));

    setFieldOrder(u"T0,T1,T15,T24,T25,T20,T21,T22,T23,T2,T3,T4,T18,T5,T6,T7,T8,T27,T26,T28,T9,T11,T10,T17"_s);
    setMandatoryFields(u"T0,T1,T2,T3,T4,T18,T7,T8,T17"_s);

    // Code boxes: their master's lookup, and the description beside them.
    using Master = MasterCodes::Master;
    const std::tuple<int, Master, int> codes[] = {
        {2, Master::Degree, 12}, {3, Master::College, 13}, {4, Master::Class, 14}, {18, Master::University, 19}};
    for (const auto &[box, master, shown] : codes)
        fields().setCode(text(box), m_codes.source(master), fields().addDescription(shown, text(box)));
    fields().setLookup(m_convocation, [this] { return m_codes.lookup(Master::Convocation); });
    // Candidates are chosen within the convocation of the session.
    fields().setLookup(m_regno, [this] { return CandidateStore::regnoLookup(session().convoCode); });
    for (const CandidateField &f : candidateFields())
        fields().setCheck(text(f.box), [this, box = f.box] { return acceptBox(box); });

    // The photograph stands beside the frame, outside it: a disabled frame would grey it.
    m_img->setObjectName(u"IMG"_s);
    m_img->setFixedSize(kPhotoWidth, kPhotoHeight);
    m_img->setFrameShape(QFrame::Box);
    m_img->setAlignment(Qt::AlignCenter);
    m_img->setToolTip(u"Double click to choose a photograph"_s);
    m_img->installEventFilter(this);
    auto *record = new QWidget(this);
    auto *row = new QHBoxLayout(record);
    row->setContentsMargins(0, 0, 0, 0);
    body()->replaceWidget(frame(), record);
    row->addWidget(frame());
    row->addWidget(m_img, 0, Qt::AlignTop);
}

// Two columns keep the record within one screen's height: the Kannada spelling of
// each name stands on the same line as the name.
void StudentForm::placeKannadaBoxes()
{
    for (const auto &[kannada, english] : kKannadaBeside)
        fields().moveBeside(text(kannada), text(english));
}

std::optional<BoundSql> StudentForm::recordsetStatement() const
{
    return CandidateStore::browseStatement(session().convoCode);
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
    m_serialNo->setEnabled(false);
    // The certificate number is the printing run's; only the administrator corrects it.
    m_certNo->setEnabled(session().isAdministrator());
}

void StudentForm::AEDproc(EditMode mode)
{
    enableForChange();
    SetFieldColours(u'H');
    setLegend(editLegend());
    showOutcome({});
    const bool onScreen = !m_regno->text().trimmed().isEmpty();
    setEditMode(mode);
    if (mode == EditMode::Add) {
        ClearControls();
        clearPhoto();
        m_convocation->setText(session().convoCode);
        m_regno->setFocus();
    } else if (mode == EditMode::Edit) {
        if (onScreen) {
            m_regno->setEnabled(false);
            moveFocus(m_regno, true);
        } else {
            m_regno->setFocus();
        }
    } else {
        if (onScreen) {
            m_regno->setEnabled(false);
            withdraw();
        } else {
            m_regno->setFocus();
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
    fillDescriptions();
    showPhoto(m_store.photoPath(record.regno()));
    setLegend(browsing() ? browseLegend() : editLegend());
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
    // The Kannada boxes are taller now: the window grows rather than squeezing them.
    growWindowToFit();
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
    if (!browsing())
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
    for (const int box : {2, 3, 4, 18})
        fields().describe(text(box));
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

QPixmap StudentForm::photo() const { return m_img->pixmap(); }

void StudentForm::showPhoto(const QString &path)
{
    const QPixmap picture(path);
    if (path.isEmpty() || picture.isNull()) {
        clearPhoto();
        return;
    }
    m_img->setPixmap(picture.scaled(m_img->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void StudentForm::clearPhoto() { m_img->clear(); }

void StudentForm::choosePhoto()
{
    if (editMode() != EditMode::Add && editMode() != EditMode::Edit)
        return;
    const auto chosen = prompter().chooseFile(u"Photograph"_s, {}, u"*.jpg"_s, Prompter::FileMode::Open);
    if (!chosen || chosen->isEmpty())
        return;
    m_chosenPhoto = *chosen;
    showPhoto(m_chosenPhoto);
}

bool StudentForm::chooseCandidate()
{
    const std::optional<CandidateRecord> found = m_store.find(m_regno->text());
    if (!found) {
        prompter().message(u"Invalid Reg. No."_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    showRecord(*found);
    SetFieldColours(u'D');
    if (editMode() == EditMode::Delete) {
        withdraw();
        return false; // the screen has been reset: the focus stays where it is
    }
    // The key of the candidate being corrected no longer changes.
    m_regno->setEnabled(false);
    return true;
}

bool StudentForm::acceptBox(int box)
{
    const EditMode mode = editMode();
    if (box == 0 && (mode == EditMode::Edit || mode == EditMode::Delete))
        return chooseCandidate();
    if (mode != EditMode::Add && mode != EditMode::Edit)
        return true;
    if (auto problem =
            m_store.checkField(box, recordOnScreen(), mode == EditMode::Add ? EntryMode::Add : EntryMode::Edit)) {
        m_store.show(*problem);
        return false;
    }
    if (std::find(std::begin(kEnglishNames), std::end(kEnglishNames), box) != std::end(kEnglishNames))
        fillKannadaFromLibrary();
    return true;
}

bool StudentForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_img && event->type() == QEvent::MouseButtonDblClick) {
        choosePhoto();
        return true;
    }
    return RecordForm::eventFilter(watched, event);
}

bool StudentForm::fieldKey(QWidget *field, QKeyEvent *event)
{
    // While adding, the register number is new: there is nothing to look up.
    if (event->key() == Qt::Key_F1 && field == m_regno && editMode() == EditMode::Add)
        return true;
    return RecordForm::fieldKey(field, event);
}

bool StudentForm::printedCandidateWritable()
{
    const std::optional<CandidateRecord> stored = m_store.find(m_regno->text());
    if (!stored || !stored->isPrinted())
        return true;
    const CandidateRecord typed = recordOnScreen();
    QStringList changed;
    for (const CandidateField &f : candidateFields()) {
        if (f.column != u"fcertno"_s && f.column != u"factive"_s
            && stored->value(f.column).trimmed() != typed.value(f.column).trimmed())
            changed << f.caption;
    }
    if (!session().isAdministrator()) {
        prompter().message(stored->regno() + u" has a printed certificate ("_s + stored->certno().trimmed()
                               + u"): its record is not changed. Only ADMIN may change the certificate number; "
                                 "to correct the candidate, cancel the certificate first."_s,
                           u"Message"_s, PromptIcon::Exclamation);
        showOutcome(u"Not saved: "_s + stored->regno() + u" is printed"_s);
        return false;
    }
    if (changed.isEmpty())
        return true;
    // The administrator's save writes the certificate number and the active flag only.
    prompter().message(stored->regno()
                           + u" has a printed certificate: only its certificate number and Active are "
                             "saved; "_s
                           + changed.join(u", "_s)
                           + (changed.size() == 1 ? u" stays as printed."_s : u" stay as printed."_s),
                       u"Message"_s, PromptIcon::Exclamation);
    return true;
}

void StudentForm::CmdSave_Click()
{
    try {
        const EditMode mode = editMode();
        if (mode == EditMode::Delete) {
            if (!m_regno->text().trimmed().isEmpty())
                withdraw();
            return;
        }
        if (mode != EditMode::Add && mode != EditMode::Edit)
            return;
        // The box the clerk is in is checked first, as leaving it would.
        if (!fields().checkFocused())
            return;
        if (mode == EditMode::Edit && !printedCandidateWritable())
            return;
        const CandidateSaveOutcome outcome = m_store.save(
            recordOnScreen(), mode == EditMode::Add ? EntryMode::Add : EntryMode::Edit, m_chosenPhoto, m_recordAsRead);
        if (!outcome.saved) {
            // A refused save keeps everything typed; the focus goes to the box refused.
            if (outcome.problem)
                fields().returnFocusTo(text(outcome.problem->box));
            showOutcome(u"Not saved: "_s + (outcome.problem ? outcome.problem->message : QString()));
            return;
        }
        const QString regno = m_regno->text().trimmed();
        rsdisp().requery(session().db());
        resetForm();
        // The candidate stays on the screen as it was stored.
        showFromRows(regno);
        QString said = u"Saved "_s + regno;
        if (!outcome.serialNumber.isEmpty())
            said += u", Sl. No. "_s + outcome.serialNumber;
        if (!outcome.photo.isEmpty())
            said += u", photograph stored"_s;
        showOutcome(said);
    } catch (const std::exception &e) {
        showError(e);
        showOutcome(u"Not saved: the database refused the change"_s);
    }
}

void StudentForm::withdraw()
{
    const QString regno = m_regno->text().trimmed();
    const std::optional<CandidateRecord> stored = m_store.find(regno);
    if (stored && stored->isPrinted()) {
        prompter().message(regno + u" has a printed certificate ("_s + stored->certno().trimmed()
                               + u"): it is not withdrawn. Cancel the certificate first."_s,
                           u"Message"_s, PromptIcon::Exclamation);
        showOutcome(u"Not withdrawn: "_s + regno + u" is printed"_s);
        resetForm();
        return;
    }
    QString said;
    try {
        said = m_store.withdraw(regno) > 0
                   ? QString(u"Withdrawn "_s + regno + u": deactivated, serial number taken back"_s)
                   : QString(u"Not withdrawn: "_s + regno);
        rsdisp().requery(session().db());
    } catch (const std::exception &e) {
        showError(e);
        said = u"Not withdrawn: the database refused the change"_s;
    }
    resetForm();
    showOutcome(said);
}

} // namespace sw
