// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/entry/candidatesearch.h"
#include "shell/forms/childform.h"
#include "shell/forms/spreadgrid.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace sw {

class FieldFrame;

// The candidate search screen (STUDSEARCH): parts of a name, certificate number,
// online application number or register number, matched at the beginning, anywhere
// or at the end, list the convocation's candidates with their certificate state and
// the contact data of their online applications. It only reads. Enter in a box
// searches, Down and Up move between the boxes; Enter or a double click on a listed
// candidate opens the candidate screen on that candidate.
class StudentSearchForm final : public ChildForm
{
    Q_OBJECT
public:
    explicit StudentSearchForm(const FormContext &context);

    void activated() override;

    // Runs the search on what the boxes hold (Enter in any box or in the mode list).
    void search();
    // Opens the candidate screen on the candidate of grid row `row`. False when the
    // screen could not take it (not permitted, or a change in progress there).
    bool openInEntry(int row);

    // The boxes by their index (text_0 name, 1 certificate number, 2 application number,
    // 3 register number); nullptr for any other.
    QLineEdit *text(int index) const;
    QComboBox *matchList() const { return m_mode; }
    SpreadGrid *spread() const { return m_grid; }

    // The menu code of the candidate screen, which the hand-over opens.
    static QString entryMenuCode() { return QStringLiteral("N22"); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SearchCriteria criteria() const;
    void fill(const std::vector<SearchHit> &hits);
    bool boxKey(QWidget *box, QKeyEvent *event);

    FieldFrame *m_fields;
    QLineEdit *m_name = nullptr;   // text_0
    QLineEdit *m_certNo = nullptr; // text_1
    QLineEdit *m_appNo = nullptr;  // text_2
    QLineEdit *m_regno = nullptr;  // text_3
    QComboBox *m_mode;
    SpreadGrid *m_grid;
    QLabel *m_count;
};

} // namespace sw
