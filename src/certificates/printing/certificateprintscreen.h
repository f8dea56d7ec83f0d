// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/printingrun.h"
#include "certificates/printing/printselection.h"
#include "certificates/printing/sheetdestination.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/forms/runscreen.h"
#include "shell/ui/documentpreview.h"

#include <QPointer>

#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sw {

class PrintingChecks;
class ScreenRegistry;
class StationeryLedger;

// CERTPRINT: the selection of a printing run (degree, college and register-number
// ranges, date of issue, certificate prefix and range, type) and the run itself on
// "preview" or "print". Opened from N24 to print and from N2F (mode "P") to write
// the depository's PDF copies of printed certificates.
//
// A run screen (RunScreen); its boxes are those of every screen (FieldFrame): typing upper-cased, Enter and Down
// to the next box, Up to the previous one, F1 lookups of the degrees, colleges and
// candidates that have something to print, each box checked as it is left with the
// printing run's own messages (PrintingChecks) and its description filled. Preview
// and Print check every box again (an empty one gets the focus), list what the
// certificates would lack (PrintCheck) and let the clerk decide, then run. Preview
// shows the composed sheets in the preview window and stores nothing; Print sends
// them to the printer or the PDF folder chosen below the boxes.
class CertificatePrintScreen final : public RunScreen
{
    Q_OBJECT
public:
    CertificatePrintScreen(const FormContext &context, PrintMode mode);
    ~CertificatePrintScreen() override;

    void activated() override;
    void VPSproc(const QString &operation) override;

    // Sheets go where the clerk chose (printer or PDF folder) unless the caller set an
    // output of its own (the tests).
    void setOutput(std::unique_ptr<SheetOutput> output) { m_output = std::move(output); }
    PrintSelection selection() const;
    // The destination: the printers the system knows (the default marked) and "PDF folder".
    QComboBox *printerBox() const { return m_printer; }
    QLineEdit *folderBox() const { return m_folder; }
    SheetDestination destination() const;
    // Stops a run between two sheets; enabled while a run goes on.
    QPushButton *stopButton() const { return m_stop; }
    // Settles the sheets a run left waiting for confirmation, then registers sheets
    // that came out badly after their numbers were stored (print mode).
    QPushButton *spoiledButton() const { return m_spoiled; }
    void registerSpoiledSheets();
    // Checks every signed copy in CSV/DCPDF and says which are not valid (PDF mode).
    QPushButton *verifyButton() const { return m_verify; }
    void verifySignedCopies();
    // The preview window of the last preview, while it is open.
    PreviewWindow *previewWindow() const { return m_preview; }

    static QString caption(PrintMode mode);
    static QString pdfFolderChoice() { return QStringLiteral("PDF folder"); }

protected:
    ToolStates reportTools() const override;
    // Closing the screen while a run goes on stops the run after its sheet instead:
    // the run must not lose its screen between two sheets.
    void closeEvent(QCloseEvent *event) override;

private:
    void addBoxes();
    void addPlacementBoxes();
    void addDestination();
    void addButtons();
    void wireChecks();

    bool leaveDegree();
    bool leaveCollege(QLineEdit *box, QLineEdit *description);
    bool leaveRegno();
    bool leaveType();
    void showPlacementsOf(const QString &type);

    // Every box checked again in order; false when one refused (it has the focus).
    bool checkBoxes();
    // What the certificates would lack, listed for the clerk to decide; false when he stops.
    bool checkBeforeRun(PrintSelection &s);
    void runPreview(PrintSelection s);
    void runPrint(PrintSelection s);
    PrintingResult run(PrintSelection s, SheetOutput &output);

    bool settlePendingSheets(StationeryLedger &ledger, const QString &prefix);

    PrintMode m_mode;
    std::unique_ptr<PrintingChecks> m_checks;
    QLineEdit *m_degree = nullptr, *m_degreeName = nullptr;
    QLineEdit *m_collegeFrom = nullptr, *m_collegeFromName = nullptr;
    QLineEdit *m_collegeTo = nullptr, *m_collegeToName = nullptr;
    QLineEdit *m_regnoFrom = nullptr, *m_regnoTo = nullptr;
    QLineEdit *m_convocationDate = nullptr, *m_issueDate = nullptr;
    QLineEdit *m_prefix = nullptr, *m_numberFrom = nullptr, *m_numberTo = nullptr;
    QLineEdit *m_type = nullptr;
    QCheckBox *m_temp = nullptr, *m_diploma = nullptr, *m_facsimile = nullptr;
    QCheckBox *m_sign = nullptr;       // PDF copies only
    QLineEdit *m_margin = nullptr;     // every institution but 001
    QGroupBox *m_placements = nullptr; // "Top / Left" of institution 001
    struct PlacementBoxes
    {
        QLineEdit *top, *left, *size;
    };
    std::vector<PlacementBoxes> m_placementBoxes; // a line per label of the designed layout
    QComboBox *m_printer = nullptr;
    QLineEdit *m_folder = nullptr;
    QPushButton *m_browse = nullptr;
    QPushButton *m_verify = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_spoiled = nullptr;
    std::unique_ptr<SheetOutput> m_output;
    PrintingRun *m_run = nullptr; // the run going on, if any
    QPointer<PreviewWindow> m_preview;
    QString m_photoAccepted;    // the register number whose missing photograph the clerk accepted
    QStringList m_acceptedGaps; // what the check found last, and the clerk went on all the same
};

void registerPrintingScreens(ScreenRegistry &screens);

} // namespace sw
