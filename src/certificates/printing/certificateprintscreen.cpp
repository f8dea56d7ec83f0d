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
    : RunScreen(context, u"CERTPRINT"_s, caption(mode))
    , m_mode(mode)
    , m_checks(std::make_unique<PrintingChecks>(context.session, context.prompter, mode))
{
    addBoxes();
    if (session().instCode.trimmed() == u"001"_s)
        addPlacementBoxes();
    else
        m_margin = fields().addText(11, u"Margin"_s,
                                    u"Widens the text block on both sides, in inches (0.2 gives margins of 0.5)"_s, 5);
    if (m_mode == PrintMode::Print)
        addDestination();
    addButtons();
    wireChecks();
}

CertificatePrintScreen::~CertificatePrintScreen() = default;

void CertificatePrintScreen::addBoxes()
{
    FieldFrame &f = fields();
    m_degree = f.addText(0, u"Degree"_s, u"Degree"_s, 5);
    m_degreeName = f.addDescription(7, m_degree);
    m_collegeFrom = f.addText(1, u"From College"_s, u"From College, 0 for every college"_s, 5);
    m_collegeFromName = f.addDescription(29, m_collegeFrom);
    m_collegeTo = f.addText(28, u"To College"_s, u"To College"_s, 5);
    m_collegeToName = f.addDescription(8, m_collegeTo);
    m_regnoFrom = f.addText(2, u"From Reg. No."_s, u"From Reg. No., 0 for every register number"_s, 10);
    m_regnoTo = f.addText(3, u"To Reg. No."_s, u"To Reg. No."_s, 10);
    m_convocationDate = f.addText(26, u"Conv. Date"_s, u"Convocation date"_s, 20);
    m_convocationDate->setReadOnly(true);
    m_convocationDate->setFocusPolicy(Qt::NoFocus);
    m_issueDate =
        f.addDate(0, u"Date of Issue"_s, u"Date of Issue, dd/mm/yyyy: printed on every certificate of the run"_s);
    m_prefix = f.addText(4, u"Cert. Prefix"_s, u"Certificate Prefix"_s, 14);
    m_numberFrom = f.addText(5, u"Enter Cert. range"_s, u"Starting Certificate No."_s, 6);
    m_numberTo = f.addText(30, u"to"_s, u"Ending Certificate No."_s, 6);
    f.moveBeside(m_numberTo, m_numberFrom);
    m_type = f.addText(
        6, u"Cert. Type"_s,
        u"Certificate Type, 1 - UG / PG with out Speciality, 2 - UG / PG with Speciality, 3 - PHD, 4 - MPHIL "_s, 1);
    m_temp = f.addCheck(0, u"&Temp"_s);
    m_diploma = f.addCheck(1, u"&Diploma"_s);
    f.moveBeside(m_diploma, m_temp);
    m_facsimile = f.addCheck(2, u"Facsimile Req?"_s);
    f.moveBeside(m_facsimile, m_diploma);
    if (m_mode == PrintMode::Pdf) {
        m_sign = f.addCheck(3, u"Si&gn"_s);
        m_sign->setToolTip(u"Also signs each copy with the institution's certificate (Institution.ini, [SIGNING]) "
                           "into DC_..._signed.pdf beside it; the PIN is asked once per run"_s);
        f.moveBeside(m_sign, m_facsimile);
        // Copies carry the numbers and dates stored when they were printed.
        for (QLineEdit *box : {m_issueDate, m_prefix, m_numberFrom, m_numberTo})
            box->setEnabled(false);
    }
}

void CertificatePrintScreen::addPlacementBoxes()
{
    m_placements = new QGroupBox(u"Top / Left"_s, fields().box());
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
        QLineEdit *line[3] = {};
        int column = 1;
        for (const auto &[index, hint] : boxes) {
            auto *box = new FieldBox(5, m_placements);
            box->setObjectName(u"text_"_s + QString::number(index));
            box->setToolTip(QString::fromUtf16(hint));
            box->setMaxLength(5);
            grid->addWidget(box, row, column);
            fields().registerField(u"T"_s + QString::number(index), box);
            line[column++ - 1] = box;
        }
        m_placementBoxes.push_back({line[0], line[1], line[2]});
        ++row;
    }
    fields().addField(u"G0"_s, {}, m_placements);
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
    fields().addField(u"P0"_s, u"Printer"_s, m_printer);

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
    fields().addField(u"P1"_s, u"PDF folder"_s, folderLine);
    fields().registerField(u"P2"_s, m_folder);
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
    m_stop = new QPushButton(u"S&top"_s);
    m_stop->setObjectName(u"cmdStop"_s);
    m_stop->setToolTip(u"Stops the run before the next sheet; what was confirmed stays stored"_s);
    m_stop->setEnabled(false);
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
    m_verify = new QPushButton(u"&Verify Signed Copies"_s);
    m_verify->setObjectName(u"cmdVerify"_s);
    m_verify->setToolTip(u"Checks the signature of every signed copy in CSV/DCPDF: valid, who signed and when, "
                         "unchanged since"_s);
    m_verify->setVisible(m_mode == PrintMode::Pdf);
    connect(m_verify, &QPushButton::clicked, this, &CertificatePrintScreen::verifySignedCopies);
    addButtonRow(u"B0"_s, {m_stop, m_spoiled, m_verify});
    connect(m_spoiled, &QPushButton::clicked, this, &CertificatePrintScreen::registerSpoiledSheets);
}

void CertificatePrintScreen::wireChecks()
{
    FieldFrame &f = fields();
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

    f.setLookup(m_degree, [this] { return m_checks->degreeLookup(); });
    for (QLineEdit *college : {m_collegeFrom, m_collegeTo})
        f.setLookup(college, [this] { return m_checks->collegeLookup(m_degree->text()); });
    for (QLineEdit *regno : {m_regnoFrom, m_regnoTo})
        f.setLookup(regno, [this] { return m_checks->candidateLookup(m_degree->text(), m_collegeFrom->text()); });

    f.setCheck(m_degree, [this] { return leaveDegree(); });
    f.setCheck(m_collegeFrom, [this] { return leaveCollege(m_collegeFrom, m_collegeFromName); });
    f.setCheck(m_collegeTo, [this] { return leaveCollege(m_collegeTo, m_collegeToName); });
    f.setCheck(m_regnoFrom, [this] { return leaveRegno(); });
    f.setCheck(m_issueDate, [this] { return m_checks->issueDate(m_issueDate->text()); });
    f.setCheck(m_prefix, [this] { return m_checks->prefix(m_prefix->text()); });
    f.setCheck(m_numberTo, [this] { return m_checks->numberRange(m_numberFrom->text(), m_numberTo->text()); });
    f.setCheck(m_type, [this] { return leaveType(); });
}

void CertificatePrintScreen::activated()
{
    const bool first = m_firstActivate;
    RunScreen::activated();
    setWindowTitle(caption(m_mode));
    const std::optional<QString> date = m_checks->convocationDate();
    m_convocationDate->setText(date.value_or(QString()));
    if (!date) {
        fields().returnFocusTo(m_degree);
        return;
    }
    if (FieldFrame::isEmpty(m_issueDate)) {
        const QString last = SheetDestination::rememberedIssueDate(session());
        m_issueDate->setText(last.isEmpty() ? PrintingRun::defaultIssueDate() : last);
    }
    m_temp->setChecked(true);
    m_temp->setEnabled(false);
    setHint({});
    if (first)
        fields().returnFocusTo(m_degree);
}

// ---- The boxes' checks as they are left ------------------------------------------------

bool CertificatePrintScreen::leaveDegree()
{
    const std::optional<QString> description = m_checks->degree(m_degree->text(), m_type->text());
    m_degreeName->setText(description.value_or(QString()));
    m_degreeName->setCursorPosition(0);
    return description.has_value();
}

bool CertificatePrintScreen::leaveCollege(QLineEdit *box, QLineEdit *description)
{
    const QString code = box->text().trimmed();
    if (box == m_collegeFrom && (code == u"0"_s || code == kAllColleges)) {
        m_collegeFrom->setText(kAllColleges);
        m_collegeTo->setText(kLastCollege);
        m_collegeFromName->setText(u"Every college"_s);
        m_collegeToName->clear();
        return true;
    }
    const std::optional<QString> name = m_checks->college(m_degree->text(), box->text());
    description->setText(name.value_or(QString()));
    description->setCursorPosition(0);
    return name.has_value();
}

bool CertificatePrintScreen::leaveRegno()
{
    const QString regno = m_regnoFrom->text().trimmed();
    if (regno == u"0"_s) {
        m_regnoFrom->setText(kAllRegnos);
        m_regnoTo->setText(kLastRegno);
        return true;
    }
    if (regno == kAllRegnos)
        return true;
    const auto candidate = m_checks->candidate(regno, regno != m_photoAccepted);
    if (!candidate)
        return false;
    if (!candidate->hasPhotograph)
        m_photoAccepted = regno;
    m_collegeFrom->setText(candidate->college);
    m_collegeToName->setText(candidate->collegeAndTown);
    m_collegeToName->setCursorPosition(0);
    if (m_regnoTo->text().trimmed().isEmpty())
        m_regnoTo->setText(regno);
    return true;
}

bool CertificatePrintScreen::leaveType()
{
    if (!m_checks->certificateType(m_type->text()))
        return false;
    showPlacementsOf(m_type->text().trimmed());
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
        for (std::size_t i = 0; i < m_placementBoxes.size(); ++i) {
            const LabelPlacement placed = layout.placement(kPlacements[i].label);
            m_placementBoxes[i].top->setText(placed.top);
            m_placementBoxes[i].left->setText(placed.left);
            m_placementBoxes[i].size->setText(placed.size);
        }
    } catch (const StopError &) {
        // A layout file that is missing is named by the run; the boxes stay empty.
        for (const PlacementBoxes &line : m_placementBoxes) {
            for (QLineEdit *box : {line.top, line.left, line.size})
                box->clear();
        }
    }
}

// ---- The selection and the run ---------------------------------------------------------

PrintSelection CertificatePrintScreen::selection() const
{
    PrintSelection s;
    s.mode = m_mode;
    s.degree = m_degree->text().trimmed().toUpper();
    s.collegeFrom = m_collegeFrom->text().trimmed().toUpper();
    s.collegeTo = m_collegeTo->text().trimmed().toUpper();
    s.regnoFrom = m_regnoFrom->text().trimmed().toUpper();
    s.regnoTo = m_regnoTo->text().trimmed().toUpper();
    s.issueDate = m_issueDate->text();
    s.prefix = m_prefix->text().trimmed().toUpper();
    s.startNumber = m_numberFrom->text();
    s.endNumber = m_numberTo->text();
    s.certType = m_type->text().trimmed().toUpper();
    s.temp = m_temp->isChecked();
    s.diploma = m_diploma->isChecked();
    s.facsimile = m_facsimile->isChecked();
    if (m_margin)
        s.marginAdjust = m_margin->text().trimmed().toDouble();
    if (m_sign) {
        s.startNumber = u"1"_s;
        s.endNumber = u"999999"_s;
        s.sign = m_sign->isChecked();
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
    if (!checkBoxes() || !fields().checkMandatory())
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
    for (const QString &key : fields().fieldOrder().split(u',')) {
        QWidget *field = fields().field(key);
        if (qobject_cast<QLineEdit *>(field) && field->isEnabled() && !fields().leave(field))
            return false;
    }
    if (m_printer && m_printer->currentData().toString() == pdfFolderChoice() && m_folder->text().trimmed().isEmpty()
        && !m_output) {
        fields().refuse(m_folder, u"Information should be entered"_s, PromptIcon::Information);
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
    for (std::size_t i = 0; i < m_placementBoxes.size(); ++i) {
        const PlacementBoxes &line = m_placementBoxes[i];
        run.setPlacement(kPlacements[i].label,
                         {line.top->text().trimmed(), line.left->text().trimmed(), line.size->text().trimmed()});
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
        m_numberFrom->setText(QString::number(result.nextNumber));
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
    const QString prefix = m_prefix->text().trimmed().toUpper();
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
