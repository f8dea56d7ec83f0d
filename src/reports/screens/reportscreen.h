// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/mastercodes.h"
#include "reports/output/reportfile.h"
#include "reports/output/reportwriter.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/reportform.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace sw {

// What every report screen shares: the selection fields in the frame of every screen
// (FieldFrame: text_i, mskdt_i, chk_i, opt_i, F1 lookups of the masters, Enter and Down
// to the next field and Up to the previous, the checks made on leaving a field), the
// frame centred at its own size, the screen's own report file
// (REPnnn.Prn, deleted when the screen closes), and "preview": "Generating, Please
// Wait ...", the report chosen by the options, then the preview window when a text
// report was written. Spreadsheet and document outputs are opened instead.
//
// A report screen subclasses it, adds its fields in the constructor and implements
// generate().
class ReportScreen : public ReportForm
{
    Q_OBJECT
public:
    ReportScreen(const FormContext &context, const QString &formName, const QString &caption,
                 QWidget *parent = nullptr);
    ~ReportScreen() override;

    void VPSproc(const QString &operation) override;

    QLineEdit *text(int index) const;
    QLineEdit *mskdt(int index) const;
    QCheckBox *chk(int index) const;
    QRadioButton *opt(int index) const;
    // The report file of this screen (taken on the first run).
    QString reportPath() { return m_report.path(); }

protected:
    // Runs the report the options choose. Returns true when a text report was written
    // to reportPath() and the preview is to follow.
    virtual bool generate() = 0;
    // Checks made when the focus leaves `field`; false keeps the focus there.
    virtual bool fieldLeft(QLineEdit *field);

    // A code box with its caption, and the display-only description box beside it.
    QLineEdit *addCode(int index, const QString &caption, int maxLength, int descriptionIndex = -1);
    QLineEdit *addDate(int index, const QString &caption);
    QCheckBox *addCheck(int index, const QString &caption);
    // An option button (opt_i); the option buttons of a screen exclude each other.
    QRadioButton *addOption(int index, const QString &caption);
    void setLookup(QLineEdit *field, std::function<LookupRequest()> request);
    // Ticking one of these boxes clears the others.
    void makeExclusive(const QList<int> &checkIndexes);

    FieldFrame &fields() const { return *m_fields; }

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
    void addRangeBoxes();
    bool leaveRangeField(QLineEdit *field);

    PageHeaderSource pageHeader() const;
    // Opens a written spreadsheet or document for the user (or names it without a desktop).
    void showOutput(const QString &path);

private:
    // A field joins the focus order as it is added.
    void follow(QWidget *field);

    ReportFile m_report;
    MasterCodes m_codes;
    FieldFrame *m_fields;
    QStringList m_order;
};

} // namespace sw
