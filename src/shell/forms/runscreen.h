// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/reportform.h"

#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace sw {

class RunProgress;

// A screen that gathers the inputs of a run and starts it: a report (on "preview" and
// "print"), an import (its own button), the certificate printing run. This is how every
// such screen is made. Built once here:
//  - the frame of every screen (FieldFrame: text_i, mskdt_i, chk_i, opt_i, F1 lookups,
//    Enter and Down to the next box and Up to the previous one, the checks made on
//    leaving a box), centred at its own size, each box's tip in the hint panel;
//  - boxes that join the field order as they are added (addCode, addDate, addCheck,
//    addOption), each text box checked by fieldLeft() as it is left;
//  - a path box with its browse button `cmd_0`; the button that starts the run `cmd_1`;
//    a row of buttons under the boxes;
//  - a progress bar `PB`, shown only while a run goes, and the run's status text in the
//    hint panel (startRun() hands the run its Progress, endRun() clears both).
// The toolbar offers what reportTools() names: preview, print, spool and exit unless
// the screen says otherwise.
//
// To build one, subclass RunScreen, add the boxes in the constructor (keeping each in a
// named member), and implement VPSproc() or connect the run button.
class RunScreen : public ReportForm
{
    Q_OBJECT
public:
    RunScreen(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent = nullptr);
    ~RunScreen() override;

    // Nothing by default: a screen whose run has its own button answers no report command.
    void VPSproc(const QString &operation) override { Q_UNUSED(operation) }

    FieldFrame &fields() const { return *m_fields; }
    // The bar of addProgressBar(); nullptr when the screen has none.
    QProgressBar *progressBar() const { return m_pb; }

protected:
    // Paths are long: their boxes are this wide (about 50 letters) and scroll beyond.
    static constexpr int kPathBoxWidth = 380;

    // Checks made when the focus leaves the text box `field`; false keeps the focus there.
    virtual bool fieldLeft(QLineEdit *field);

    // A code box text_i with its caption (its tip); fields().addDescription() puts the
    // box that shows what the code stands for beside it.
    QLineEdit *addCode(int index, const QString &caption, int maxLength);
    QLineEdit *addDate(int index, const QString &caption);
    QCheckBox *addCheck(int index, const QString &caption);
    // An option button (opt_i); the option buttons of a screen exclude each other.
    QRadioButton *addOption(int index, const QString &caption);
    void setLookup(QLineEdit *field, std::function<LookupRequest()> request);
    // Ticking one of these boxes clears the others.
    void makeExclusive(const QList<QCheckBox *> &boxes);

    // A path box text_i (kept as typed) with its browse button `cmd_0` beside it.
    QLineEdit *addPathBox(int index, const QString &label, const QString &toolTip);
    QPushButton *browseButton() const { return m_browse; }
    // A field as wide as a path box, up to the browse button.
    void widen(QWidget *field);
    // The button that starts the run (`cmd_1`, key "B1"), last of the field order.
    QPushButton *addRunButton(const QString &caption, const QString &toolTip);
    QPushButton *runButton() const { return m_run; }
    // A line of push buttons under the boxes, from the left, under the field key `key`.
    void addButtonRow(const QString &key, const QList<QPushButton *> &buttons);
    // The progress bar under the boxes, after the screen has added them.
    void addProgressBar();
    // Shows the bar and hands the run a progress that paints it and the hint panel.
    Progress startRun();
    // Hides the bar and clears the hint panel again.
    void endRun();

private:
    // A field joins the focus order as it is added.
    void follow(QWidget *field);

    FieldFrame *m_fields;
    QStringList m_order;
    QPushButton *m_browse = nullptr;
    QPushButton *m_run = nullptr;
    QProgressBar *m_pb = nullptr;
    std::unique_ptr<RunProgress> m_progress;
};

} // namespace sw
