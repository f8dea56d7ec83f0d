// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/certificateprintscreen.h"
#include "certificates/printing/invalidsheetfiles.h"

#include "certificates/layouts/certificatepdf.h"
#include "certificates/layouts/designerlayout.h"
#include "certificates/printing/printcheck.h"
#include "certificates/printing/printingchecks.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/core/filewrite.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/ui/documentpreview.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/screenregistry.h"
#include "shell/db/presence.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The "Top / Left" boxes of institution 001: for each label of the designed layout,
// its top, left and font-size boxes.
struct PlacementRow
{
    const char16_t *caption;
    DesignerLayout::Label label;
    int top, left, size;
    const char16_t *topHint, *leftHint, *sizeHint;
};
constexpr PlacementRow kPlacements[] = {
    {u"Name", DesignerLayout::Name, 11, 12, 21, u"Name Top", u"Name Left", u"Name Font Size"},
    {u"Reg. No.", DesignerLayout::RegNo, 13, 14, 22, u"Reg. Top", u"Register No. Left", u"Register No. Font Size"},
    {u"Class", DesignerLayout::Class, 15, 16, 23, u"Class Top", u"Class Left", u"Class Font Size"},
    {u"Date", DesignerLayout::Date, 17, 18, 24, u"Date Top", u"Date Left", u"Date Font Size"},
    {u"Speciality", DesignerLayout::Speciality, 19, 20, 25, u"Speciality Top", u"Speciality Left",
     u"Speciality Font Size"},
};

const QString kAllColleges = u"0000"_s;
const QString kLastCollege = u"ZZZZ"_s;
const QString kAllRegnos = u"00000000"_s;
const QString kLastRegno = u"ZZZZZZZZ"_s;

} // namespace

QString CertificatePrintScreen::caption(PrintMode mode)
{
    const QString base = u"Degree Certificate Printing . . ."_s;
    return mode == PrintMode::Pdf ? base + u" (PDF for NAD)"_s : base;
}

CertificatePrintScreen::CertificatePrintScreen(const FormContext &context, PrintMode mode)
    : ReportForm(context, u"CERTPRINT"_s, caption(mode))
    , m_mode(mode)
    , m_fields(new FieldFrame(this, context.session, context.prompter))
    , m_checks(std::make_unique<PrintingChecks>(context.session, context.prompter, mode))
{
    addCentred(m_fields->box());
    connect(m_fields, &FieldFrame::focused, this, [this](QWidget *, const QString &hint) { setHint(hint); });
    addBoxes();
    if (session().instCode.trimmed() == u"001"_s)
        addPlacementBoxes();
    else
        m_fields->addText(11, u"Margin"_s,
                          u"Widens the text block on both sides, in inches (0.2 gives margins of 0.5)"_s, 5);
    if (m_mode == PrintMode::Print)
        addDestination();
    addButtons();
    wireChecks();
}

CertificatePrintScreen::~CertificatePrintScreen() = default;

void CertificatePrintScreen::addBoxes()
{
    FieldFrame &f = *m_fields;
    f.addDescription(7, f.addText(0, u"Degree"_s, u"Degree"_s, 5));
    f.addDescription(29, f.addText(1, u"From College"_s, u"From College, 0 for every college"_s, 5));
    f.addDescription(8, f.addText(28, u"To College"_s, u"To College"_s, 5));
    f.addText(2, u"From Reg. No."_s, u"From Reg. No., 0 for every register number"_s, 10);
    f.addText(3, u"To Reg. No."_s, u"To Reg. No."_s, 10);
    QLineEdit *convocationDate = f.addText(26, u"Conv. Date"_s, u"Convocation date"_s, 20);
    convocationDate->setReadOnly(true);
    convocationDate->setFocusPolicy(Qt::NoFocus);
    f.addDate(0, u"Date of Issue"_s, u"Date of Issue, dd/mm/yyyy: printed on every certificate of the run"_s);
    f.addText(4, u"Cert. Prefix"_s, u"Certificate Prefix"_s, 14);
    f.addText(5, u"Enter Cert. range"_s, u"Starting Certificate No."_s, 6);
    f.moveBeside(f.addText(30, u"to"_s, u"Ending Certificate No."_s, 6), f.text(5));
    f.addText(6, u"Cert. Type"_s,
              u"Certificate Type, 1 - UG / PG with out Speciality, 2 - UG / PG with Speciality, 3 - PHD, 4 - MPHIL "_s,
              1);
    QCheckBox *temp = f.addCheck(0, u"&Temp"_s);
    f.moveBeside(f.addCheck(1, u"&Diploma"_s), temp);
    f.moveBeside(f.addCheck(2, u"Facsimile Req?"_s), f.chk(1));
    if (m_mode == PrintMode::Pdf) {
        QCheckBox *sign = f.addCheck(3, u"Si&gn"_s);
        sign->setToolTip(u"Also signs each copy with the institution's certificate (Institution.ini, [SIGNING]) "
                         "into DC_..._signed.pdf beside it; the PIN is asked once per run"_s);
        f.moveBeside(sign, f.chk(2));
        // Copies carry the numbers and dates stored when they were printed.
        for (QWidget *w : {static_cast<QWidget *>(f.mskdt(0)), static_cast<QWidget *>(f.text(4)),
                           static_cast<QWidget *>(f.text(5)), static_cast<QWidget *>(f.text(30))})
            w->setEnabled(false);
    }
}

void CertificatePrintScreen::addPlacementBoxes()
{
    m_placements = new QGroupBox(u"Top / Left"_s, m_fields->box());
    m_placements->setObjectName(u"fraTopLeft"_s);
    auto *grid = new QGridLayout(m_placements);
    const QString headings[] = {u"Top"_s, u"Left"_s, u"Font Size"_s};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(headings[c], m_placements), 0, c + 1);
    int row = 1;
    for (const PlacementRow &p : kPlacements) {
        grid->addWidget(new QLabel(QString::fromUtf16(p.caption), m_placements), row, 0);
        const std::pair<int, const char16_t *> boxes[] = {
            {p.top, p.topHint}, {p.left, p.leftHint}, {p.size, p.sizeHint}};
        int column = 1;
        for (const auto &[index, hint] : boxes) {
            auto *box = new FieldBox(5, m_placements);
            box->setObjectName(u"text_"_s + QString::number(index));
            box->setToolTip(QString::fromUtf16(hint));
            box->setMaxLength(5);
            grid->addWidget(box, row, column++);
            m_fields->registerField(u"T"_s + QString::number(index), box);
        }
        ++row;
    }
    m_fields->addField(u"G0"_s, {}, m_placements);
}

void CertificatePrintScreen::addDestination()
{
    m_printer = new QComboBox;
    m_printer->setObjectName(u"cboPrinter"_s);
    m_printer->setToolTip(u"Where the certificates go: a printer of this workstation, or a PDF file per sheet in a "
                          "folder"_s);
    const QString fallback = SheetDestination::defaultPrinter();
    for (const QString &name : SheetDestination::printers())
        m_printer->addItem(name == fallback ? name + u" (default)"_s : name, name);
    m_printer->addItem(pdfFolderChoice(), pdfFolderChoice());
    m_fields->addField(u"P0"_s, u"Printer"_s, m_printer);

    auto *folderLine = new QWidget;
    auto *row = new QHBoxLayout(folderLine);
    row->setContentsMargins(0, 0, 0, 0);
    m_folder = new FieldBox(FieldBox::kWidest);
    m_folder->setObjectName(u"txtFolder"_s);
    m_folder->setToolTip(u"The folder the PDF files of the sheets are written to (CERTNO_REGNO.pdf)"_s);
    m_browse = new QPushButton(u"..."_s);
    m_browse->setObjectName(u"cmdFolder"_s);
    row->addWidget(m_folder);
    row->addWidget(m_browse);
    m_fields->addField(u"P1"_s, u"PDF folder"_s, folderLine);
    m_fields->registerField(u"P2"_s, m_folder);
    connect(m_browse, &QPushButton::clicked, this, [this] {
        if (const auto chosen =
                prompter().chooseFile(u"PDF folder"_s, m_folder->text(), {}, Prompter::FileMode::Folder))
            m_folder->setText(QDir::toNativeSeparators(*chosen));
    });
    auto follow = [this, folderLine] {
        const bool toFolder = m_printer->currentData().toString() == pdfFolderChoice();
        folderLine->setEnabled(toFolder);
    };
    connect(m_printer, &QComboBox::currentIndexChanged, this, follow);

    const SheetDestination remembered = SheetDestination::remembered(session());
    m_folder->setText(remembered.folder.isEmpty()
                          ? QDir::toNativeSeparators(session().folder.filePath(u"Output/Certificates"_s))
                          : remembered.folder);
    int index =
        remembered.toFolder() ? m_printer->findData(pdfFolderChoice()) : m_printer->findData(remembered.printer);
    m_printer->setCurrentIndex(std::max(0, index));
    follow();
}

void CertificatePrintScreen::addButtons()
{
    auto *buttons = new QWidget;
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    m_stop = new QPushButton(u"S&top"_s);
    m_stop->setObjectName(u"cmdStop"_s);
    m_stop->setToolTip(u"Stops the run before the next sheet; what was confirmed stays stored"_s);
    m_stop->setEnabled(false);
    row->addWidget(m_stop);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_run) {
            m_run->requestStop();
            setHint(u"Stopping after this sheet ..."_s);
        }
    });
    m_spoiled = new QPushButton(u"Spoiled &Sheets..."_s);
    m_spoiled->setObjectName(u"cmdSpoiled"_s);
    m_spoiled->setToolTip(u"Registers sheets that came out badly after their numbers were stored"_s);
    m_spoiled->setVisible(m_mode == PrintMode::Print);
    row->addWidget(m_spoiled);
    m_verify = new QPushButton(u"&Verify Signed Copies"_s);
    m_verify->setObjectName(u"cmdVerify"_s);
    m_verify->setToolTip(u"Checks the signature of every signed copy in CSV/DCPDF: valid, who signed and when, "
                         "unchanged since"_s);
    m_verify->setVisible(m_mode == PrintMode::Pdf);
    row->addWidget(m_verify);
    connect(m_verify, &QPushButton::clicked, this, &CertificatePrintScreen::verifySignedCopies);
    row->addStretch();
    m_fields->addField(u"B0"_s, {}, buttons);
    connect(m_spoiled, &QPushButton::clicked, this, &CertificatePrintScreen::registerSpoiledSheets);
}

void CertificatePrintScreen::wireChecks()
{
    FieldFrame &f = *m_fields;
    QStringList order{u"T0"_s, u"T1"_s, u"T28"_s, u"T2"_s, u"T3"_s};
    if (m_mode == PrintMode::Print)
        order << u"M0"_s << u"T4"_s << u"T5"_s << u"T30"_s;
    order << u"T6"_s << u"C0"_s << u"C1"_s << u"C2"_s;
    if (m_mode == PrintMode::Pdf)
        order << u"C3"_s;
    if (m_placements) {
        for (const PlacementRow &p : kPlacements) {
            for (int index : {p.top, p.left, p.size})
                order << u"T"_s + QString::number(index);
        }
    } else {
        order << u"T11"_s;
    }
    if (m_printer)
        order << u"P0"_s << u"P2"_s;
    f.setFieldOrder(order.join(u','));
    f.setMandatoryFields(m_mode == PrintMode::Print ? u"T0,T1,T28,T2,T3,M0,T5,T30,T6"_s : u"T0,T1,T28,T2,T3,T6"_s);

    f.setLookup(f.text(0), [this] { return m_checks->degreeLookup(); });
    for (int i : {1, 28})
        f.setLookup(f.text(i), [this] { return m_checks->collegeLookup(text(0)->text()); });
    for (int i : {2, 3})
        f.setLookup(f.text(i), [this] { return m_checks->candidateLookup(text(0)->text(), text(1)->text()); });

    f.setCheck(f.text(0), [this] { return leaveDegree(); });
    f.setCheck(f.text(1), [this] { return leaveCollege(text(1), text(29)); });
    f.setCheck(f.text(28), [this] { return leaveCollege(text(28), text(8)); });
    f.setCheck(f.text(2), [this] { return leaveRegno(); });
    f.setCheck(f.mskdt(0), [this] { return m_checks->issueDate(mskdt0()->text()); });
    f.setCheck(f.text(4), [this] { return m_checks->prefix(text(4)->text()); });
    f.setCheck(f.text(30), [this] { return m_checks->numberRange(text(5)->text(), text(30)->text()); });
    f.setCheck(f.text(6), [this] { return leaveType(); });
}

QLineEdit *CertificatePrintScreen::text(int index) const { return m_fields->text(index); }

QLineEdit *CertificatePrintScreen::mskdt0() const { return m_fields->mskdt(0); }

QCheckBox *CertificatePrintScreen::chk(int index) const { return m_fields->chk(index); }

void CertificatePrintScreen::activated()
{
    const bool first = m_firstActivate;
    ReportForm::activated();
    setWindowTitle(caption(m_mode));
    const std::optional<QString> date = m_checks->convocationDate();
    text(26)->setText(date.value_or(QString()));
    if (!date) {
        m_fields->returnFocusTo(text(0));
        return;
    }
    if (FieldFrame::isEmpty(mskdt0())) {
        const QString last = SheetDestination::rememberedIssueDate(session());
        mskdt0()->setText(last.isEmpty() ? PrintingRun::defaultIssueDate() : last);
    }
    chk(0)->setChecked(true);
    chk(0)->setEnabled(false);
    setHint({});
    if (first)
        m_fields->returnFocusTo(text(0));
}

// ---- The boxes' checks as they are left ------------------------------------------------

bool CertificatePrintScreen::leaveDegree()
{
    const std::optional<QString> description = m_checks->degree(text(0)->text(), text(6)->text());
    text(7)->setText(description.value_or(QString()));
    text(7)->setCursorPosition(0);
    return description.has_value();
}

bool CertificatePrintScreen::leaveCollege(QLineEdit *box, QLineEdit *description)
{
    const QString code = box->text().trimmed();
    if (box == text(1) && (code == u"0"_s || code == kAllColleges)) {
        text(1)->setText(kAllColleges);
        text(28)->setText(kLastCollege);
        text(29)->setText(u"Every college"_s);
        text(8)->clear();
        return true;
    }
    const std::optional<QString> name = m_checks->college(text(0)->text(), box->text());
    description->setText(name.value_or(QString()));
    description->setCursorPosition(0);
    return name.has_value();
}

bool CertificatePrintScreen::leaveRegno()
{
    const QString regno = text(2)->text().trimmed();
    if (regno == u"0"_s) {
        text(2)->setText(kAllRegnos);
        text(3)->setText(kLastRegno);
        return true;
    }
    if (regno == kAllRegnos)
        return true;
    const auto candidate = m_checks->candidate(regno, regno != m_photoAccepted);
    if (!candidate)
        return false;
    if (!candidate->hasPhotograph)
        m_photoAccepted = regno;
    text(1)->setText(candidate->college);
    text(8)->setText(candidate->collegeAndTown);
    text(8)->setCursorPosition(0);
    if (text(3)->text().trimmed().isEmpty())
        text(3)->setText(regno);
    return true;
}

bool CertificatePrintScreen::leaveType()
{
    if (!m_checks->certificateType(text(6)->text()))
        return false;
    showPlacementsOf(text(6)->text().trimmed());
    return true;
}

// The boxes show where the designed layout of the type puts each label; what the
// clerk types over them moves the label for this run.
void CertificatePrintScreen::showPlacementsOf(const QString &type)
{
    if (!m_placements || m_placements->property("type").toString() == type)
        return;
    m_placements->setProperty("type", type);
    try {
        const DesignerLayout layout(session().folder, type);
        for (const PlacementRow &p : kPlacements) {
            const LabelPlacement placed = layout.placement(p.label);
            text(p.top)->setText(placed.top);
            text(p.left)->setText(placed.left);
            text(p.size)->setText(placed.size);
        }
    } catch (const StopError &) {
        // A layout file that is missing is named by the run; the boxes stay empty.
        for (const PlacementRow &p : kPlacements) {
            for (int index : {p.top, p.left, p.size})
                text(index)->clear();
        }
    }
}

// ---- The selection and the run ---------------------------------------------------------

PrintSelection CertificatePrintScreen::selection() const
{
    PrintSelection s;
    s.mode = m_mode;
    s.degree = text(0)->text().trimmed().toUpper();
    s.collegeFrom = text(1)->text().trimmed().toUpper();
    s.collegeTo = text(28)->text().trimmed().toUpper();
    s.regnoFrom = text(2)->text().trimmed().toUpper();
    s.regnoTo = text(3)->text().trimmed().toUpper();
    s.issueDate = mskdt0()->text();
    s.prefix = text(4)->text().trimmed().toUpper();
    s.startNumber = text(5)->text();
    s.endNumber = text(30)->text();
    s.certType = text(6)->text().trimmed().toUpper();
    s.temp = chk(0)->isChecked();
    s.diploma = chk(1)->isChecked();
    s.facsimile = chk(2)->isChecked();
    if (!m_placements)
        s.marginAdjust = text(11)->text().trimmed().toDouble();
    if (m_mode == PrintMode::Pdf) {
        s.startNumber = u"1"_s;
        s.endNumber = u"999999"_s;
        s.sign = chk(3)->isChecked();
    }
    return s;
}

SheetDestination CertificatePrintScreen::destination() const
{
    SheetDestination d;
    if (!m_printer)
        return d;
    const QString chosen = m_printer->currentData().toString();
    if (chosen == pdfFolderChoice())
        d.folder = m_folder->text().trimmed();
    else
        d.printer = chosen;
    return d;
}

void CertificatePrintScreen::VPSproc(const QString &operation)
{
    if (m_run || (operation != u"preview"_s && operation != u"print"_s))
        return;
    // Box by box in the order they are typed, so a box the checks fill (every college
    // after "0") is filled before it is found empty.
    if (!checkBoxes() || !m_fields->checkMandatory())
        return;
    PrintSelection s = selection();
    s.operation = operation == u"print"_s ? PrintOperation::Print : PrintOperation::Preview;
    if (!checkBeforeRun(s))
        return;
    if (s.operation == PrintOperation::Preview)
        runPreview(s);
    else
        runPrint(s);
}

bool CertificatePrintScreen::checkBoxes()
{
    for (const QString &key : m_fields->fieldOrder().split(u',')) {
        QWidget *field = m_fields->field(key);
        if (qobject_cast<QLineEdit *>(field) && field->isEnabled() && !m_fields->leave(field))
            return false;
    }
    if (m_printer && m_printer->currentData().toString() == pdfFolderChoice() && m_folder->text().trimmed().isEmpty()
        && !m_output) {
        m_fields->refuse(m_folder, u"Information should be entered"_s, PromptIcon::Information);
        return false;
    }
    return true;
}

bool CertificatePrintScreen::checkBeforeRun(PrintSelection &s)
{
    QStringList gaps;
    try {
        gaps = PrintCheck(session()).gaps(s);
    } catch (const DbError &e) {
        prompter().message(e.reportMessage(), u"Message"_s, PromptIcon::Critical);
        return false;
    }
    // Printing what was just previewed asks no second time about the same gaps.
    if (gaps.isEmpty() || gaps == m_acceptedGaps) {
        s.missingPhotographsAccepted = !gaps.isEmpty();
        return true;
    }
    // The whole list scrolls in its dialog; the question stays below it.
    QString text = u"The check before printing found:"_s;
    if (gaps.size() > 25) {
        const QString list = session().folder.filePath(u"Output/PrintCheck.txt"_s);
        try {
            writeWholeFile(list, (gaps.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
            text += u" (the list is also in "_s + QDir::toNativeSeparators(list) + u")"_s;
        } catch (const StopError &) {
            // The list on the screen is still there; the file is only a convenience.
        }
    }
    if (prompter().askWithList(text, gaps, u"Go on all the same?"_s, u"Check before printing"_s,
                               PromptIcon::Exclamation, PromptButtons::YesNo, PromptAnswer::No)
        != PromptAnswer::Yes)
        return false;
    s.missingPhotographsAccepted = true;
    m_acceptedGaps = gaps;
    return true;
}

PrintingResult CertificatePrintScreen::run(PrintSelection s, SheetOutput &output)
{
    // The status bar follows the run; events are processed between sheets so the
    // window stays responsive while a long run prints.
    PrintingRun run(session(), prompter(), [this](const QString &status, int percent) {
        if (status.endsWith(u"Please Wait ..."_s))
            setBusyHint(status);
        else
            setHint(percent >= 0 && !status.isEmpty() ? status + u"  ("_s + QString::number(percent) + u"%)"_s
                                                      : status);
        QCoreApplication::processEvents();
    });
    if (m_placements) {
        for (const PlacementRow &p : kPlacements)
            run.setPlacement(p.label, {text(p.top)->text().trimmed(), text(p.left)->text().trimmed(),
                                       text(p.size)->text().trimmed()});
    }
    m_run = &run;
    m_stop->setEnabled(true);
    m_spoiled->setEnabled(false);
    const auto idle = qScopeGuard([this] {
        m_run = nullptr;
        m_stop->setEnabled(false);
        m_spoiled->setEnabled(true);
        setHint({});
    });
    const PrintingResult result = run.run(std::move(s), output);
    // Whatever stopped a run (a candidate's missing text, the printer, the clerk), the
    // screen keeps saying how far it got and which sheet is next.
    const int handled = result.printed + result.spoiled + result.previewed + result.copies + result.skipped;
    if (!result.completed && handled > 0)
        showOutcome(run.howFar());
    return result;
}

void CertificatePrintScreen::runPreview(PrintSelection s)
{
    PreviewSheets sheets;
    run(s, sheets);
    if (sheets.sheets().empty())
        return;
    std::vector<PreviewSheet> pages;
    for (PreviewSheets::Sheet &sheet : sheets.sheets())
        pages.push_back({std::move(sheet.document), sheet.certNo + u", Reg. No. "_s + sheet.regno});
    try {
        m_preview = new PreviewWindow(std::move(pages), caption(m_mode) + u" - Preview"_s, window());
    } catch (const StopError &e) {
        prompter().message(e.text(), e.title(), e.icon());
        return;
    }
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_preview, &PreviewWindow::printRequested, this, [this] { VPSproc(u"print"_s); });
    m_preview->open();
}

void CertificatePrintScreen::runPrint(PrintSelection s)
{
    std::unique_ptr<SheetOutput> chosen;
    SheetOutput *output = m_output.get();
    if (!output && m_mode == PrintMode::Pdf) {
        // Copies go to CSV/DCPDF whatever the destination.
        chosen = std::make_unique<FolderOutput>(session().folder.filePath(u"CSV/DCPDF"_s));
        output = chosen.get();
    } else if (!output) {
        const SheetDestination d = destination();
        d.remember(session());
        chosen = d.output();
        output = chosen.get();
    }
    const PrintingResult result = run(s, *output);
    // Show where the range now stands, so the next run starts on the next sheet; the
    // screen opens on this date of issue next time.
    if (s.mode == PrintMode::Print && result.printed + result.spoiled > 0) {
        text(5)->setText(QString::number(result.nextNumber));
        SheetDestination::rememberIssueDate(session(), s.issueDate);
    }
}

void CertificatePrintScreen::verifySignedCopies()
{
    const std::vector<certificatepdf::CopyCheck> checks = certificatepdf::verifySignedCopies(session().folder);
    if (checks.empty()) {
        prompter().info(u"There is no signed copy in "_s
                        + QDir::toNativeSeparators(session().folder.filePath(u"CSV/DCPDF"_s)) + u'.');
        return;
    }
    QStringList bad;
    for (const certificatepdf::CopyCheck &c : checks) {
        if (!c.check.valid)
            bad.append(c.fileName + u": "_s + c.check.describe());
    }
    QString text = QString::number(checks.size()) + u" signed copies checked: "_s
                   + QString::number(checks.size() - bad.size()) + u" valid, "_s + QString::number(bad.size())
                   + u" not valid."_s;
    if (!bad.isEmpty())
        text += u"\n\n"_s + bad.mid(0, 15).join(u'\n') + (bad.size() > 15 ? u"\n..."_s : QString());
    prompter().message(text, u"Verify Signed Copies"_s,
                       bad.isEmpty() ? PromptIcon::Information : PromptIcon::Exclamation);
}

// Preview and Print; the screen spools nothing.
ToolStates CertificatePrintScreen::reportTools() const
{
    ToolStates s{};
    s[slot(Command::Preview)] = s[slot(Command::Print)] = s[slot(Command::Exit)] = true;
    return s;
}

void CertificatePrintScreen::closeEvent(QCloseEvent *event)
{
    if (m_run) {
        m_run->requestStop();
        setHint(u"Stopping after this sheet ..."_s);
        event->ignore();
        return;
    }
    ReportForm::closeEvent(event);
}

void CertificatePrintScreen::registerSpoiledSheets()
{
    if (m_run || m_mode != PrintMode::Print)
        return;
    const QString prefix = text(4)->text().trimmed().toUpper();
    const QString title = u"Spoiled Sheets"_s;
    try {
        StationeryLedger ledger(session().db(), session().convoCode, session().userName, Presence::workstation());
        if (!settlePendingSheets(ledger, prefix))
            return;
        const std::optional<QString> list = prompter().input(
            u"Numbers of the spoiled sheets"_s + (prefix.isEmpty() ? QString() : u" (prefix "_s + prefix + u')')
                + u", for example 17, 19-21:"_s,
            title, {});
        if (!list || list->trimmed().isEmpty())
            return;
        const std::vector<long long> numbers = sheetnumbers::parseList(*list, prefix);
        const QStringList plan = ledger.planSpoiled(prefix, numbers);
        // The reason is typed before the question, so nothing typed for it can answer
        // the question; Yes registers paper, so only Y or a click says it.
        const std::optional<QString> reason = prompter().input(u"Why were they spoiled?"_s, title, {});
        if (!reason)
            return;
        QStringList lines = plan;
        if (!reason->trimmed().isEmpty())
            lines << u"Reason: "_s + reason->trimmed();
        if (prompter().askWithList({}, lines, u"Register these sheets as spoiled?"_s, title, PromptIcon::Question,
                                   PromptButtons::YesNo, PromptAnswer::No)
            != PromptAnswer::Yes)
            return;
        InvalidSheetFiles files(session(), InvalidSheetFiles::Why::Spoiled);
        for (const long long number : numbers)
            files.note(sheetnumbers::format(prefix, number));
        ledger.registerSpoiled(prefix, numbers, reason->trimmed());
        const QStringList moved = files.moveAside().lines();
        prompter().info(QString::number(numbers.size()) + (numbers.size() == 1 ? u" sheet"_s : u" sheets"_s)
                            + u" registered as spoiled."_s + (moved.isEmpty() ? QString() : u'\n' + moved.join(u'\n')),
                        title);
    } catch (const StopError &e) {
        prompter().message(e.text(), title, e.icon());
    } catch (const DbError &e) {
        prompter().message(e.reportMessage(), u"Message"_s, PromptIcon::Critical);
    }
}

// Sheets a run sent to the printer and never confirmed (it was stopped, or the
// program ended): the clerk says of each how it came out. False when he cancels.
bool CertificatePrintScreen::settlePendingSheets(StationeryLedger &ledger, const QString &prefix)
{
    const QString title = u"Spoiled Sheets"_s;
    for (const QString &line : ledger.pendingSheets(prefix)) {
        const QString certNo = line.section(u' ', 0, 0);
        const PromptAnswer answer = prompter().ask(
            line
                + u".\n\nDid this sheet come out well? Yes stores its number on the candidate; No registers it as "
                  "spoiled and the candidate prints again on a new sheet."_s,
            title, PromptIcon::Question, PromptButtons::YesNoCancel, PromptAnswer::Cancel);
        if (answer == PromptAnswer::Cancel)
            return false;
        const auto parsed = sheetnumbers::parse(certNo);
        if (!parsed)
            continue;
        const bool printed = answer == PromptAnswer::Yes;
        InvalidSheetFiles files(session(), InvalidSheetFiles::Why::Spoiled);
        if (!printed)
            files.noteSheet(certNo);
        ledger.settle(parsed->prefix, {parsed->number}, printed, {});
        if (const QStringList moved = files.moveAside().lines(); !moved.isEmpty())
            prompter().info(moved.join(u'\n'), title);
    }
    return true;
}

void registerPrintingScreens(ScreenRegistry &screens)
{
    screens.add(u"N24"_s, {u"CERTPRINT"_s, false, [](const FormContext &c, const QString &) {
                               return new CertificatePrintScreen(c, PrintMode::Print);
                           }});
    screens.add(u"N2F"_s, {u"CERTPRINT"_s, false, [](const FormContext &c, const QString &) {
                               return new CertificatePrintScreen(c, PrintMode::Pdf);
                           }});
}

} // namespace sw
