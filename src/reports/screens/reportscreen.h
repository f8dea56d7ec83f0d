// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/mastercodes.h"
#include "reports/output/reportfile.h"
#include "reports/output/reportwriter.h"
#include "shell/forms/runscreen.h"

class QLineEdit;

namespace sw {

// A run screen (RunScreen: the selection boxes in the frame of every screen) that
// writes a report: the screen's own report file (REPnnn.Prn, deleted when the screen
// closes), and "preview": "Generating, Please Wait ...", the report chosen by the
// options, then the preview window when a text report was written. Spreadsheet and
// document outputs are opened instead.
//
// A report screen subclasses it, adds its boxes in the constructor (keeping each in a
// named member) and implements generate().
class ReportScreen : public RunScreen
{
    Q_OBJECT
public:
    ReportScreen(const FormContext &context, const QString &formName, const QString &caption,
                 QWidget *parent = nullptr);
    ~ReportScreen() override;

    void VPSproc(const QString &operation) override;

    // The range boxes of the dated lists (addRangeBoxes()) and what their codes stand for.
    struct RangeBoxes
    {
        QLineEdit *degreeFrom = nullptr, *degreeTo = nullptr;
        QLineEdit *collegeFrom = nullptr, *collegeTo = nullptr;
        QLineEdit *degreeFromName = nullptr, *degreeToName = nullptr;
        QLineEdit *collegeFromName = nullptr, *collegeToName = nullptr;
    };

    // The report file of this screen (taken on the first run).
    QString reportPath() { return m_report.path(); }

protected:
    // Runs the report the options choose. Returns true when a text report was written
    // to reportPath() and the preview is to follow.
    virtual bool generate() = 0;

    // The degree code box: empty is refused when required ("Information should be
    // entered"), an unknown code with "Invalid Course Code"; a known one shows its
    // description. True when the box may be left.
    bool checkDegree(QLineEdit *code, QLineEdit *description, bool required);
    // A college code box's description (no refusal: a range may name codes without rows).
    void describeCollege(QLineEdit *code, QLineEdit *description);
    // Lookups limited to the codes candidates of the current convocation use.
    LookupRequest degreeLookup() const;
    LookupRequest collegeLookup(const QString &degree) const;

    // The four range boxes of the dated lists, with their lookups: degrees text_0..text_1
    // and colleges text_2..text_3, their descriptions in text_10..text_13.
    const RangeBoxes &addRangeBoxes();
    const RangeBoxes &range() const { return m_range; }
    bool leaveRangeField(QLineEdit *field);

    PageHeaderSource pageHeader() const;
    // Opens a written spreadsheet or document for the user (or names it without a desktop).
    void showOutput(const QString &path);

private:
    ReportFile m_report;
    MasterCodes m_codes;
    RangeBoxes m_range;
};

} // namespace sw
