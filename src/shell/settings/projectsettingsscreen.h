// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"
#include "shell/settings/controlstore.h"

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace sw {

// "Project Settings . . .": the screen colours and the font of every screen. Each box
// shows one setting of the settings row ("&H" colours painted in their colour, the
// font's name and size) with a small button that opens the colour or font dialog, as
// F1 in the box does. The boxes stand in the screens' frame (FieldFrame): Enter and
// Down walk them across both pages to "&OK", Up walks back; the size is checked as it
// is left. "&Default" writes the defaults at once and says so in the message panel;
// "&OK" writes the boxes and applies the new look to the screens that are open;
// "&Cancel" closes without writing.
class ProjectSettingsScreen : public ChildForm
{
    Q_OBJECT
public:
    explicit ProjectSettingsScreen(const FormContext &context);

    // Boxes in the order of their buttons: 0 "Screen", 1 "Fields (Default)",
    // 2 "Fields (Online)", 3 "Field Color", 4 "Label Color", 5 the font, 6 "Size".
    QLineEdit *text(int index) const { return m_boxes[size_t(index)]; }
    QPushButton *cmd(int index) const { return m_buttons[size_t(index)]; }
    QPushButton *cmddef() const { return m_default; }
    QPushButton *cmdok() const { return m_ok; }
    QPushButton *cmdcancel() const { return m_cancel; }

    void activated() override;

    void Disp_rec();
    void cmd_Click(int index);
    void cmddef_Click();
    void CmdOk_Click();
    void CmdCancel_Click();

    // The dialogs the buttons open; a test replaces them. Empty: the choice was cancelled.
    using ColourChooser = std::function<std::optional<QColor>(const QColor &current)>;
    using FontChooser = std::function<std::optional<QFont>(const QFont &current)>;
    void setChoosers(ColourChooser colour, FontChooser font);

    static constexpr int kColourBoxes = 5;

private:
    void addBoxes();
    void addButtons();
    bool checkSize();
    void show(const AppearanceSettings &settings);
    AppearanceSettings typed() const;
    void paintColourBox(int index);
    // The session's copies of the settings and the screens already open follow the row.
    void applyToOpenScreens(const AppearanceSettings &settings);

    FieldFrame *m_fields;
    std::array<QLineEdit *, 7> m_boxes{};
    std::array<QPushButton *, 6> m_buttons{};
    QTabWidget *m_tabs;
    QPushButton *m_default;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    ColourChooser m_chooseColour;
    FontChooser m_chooseFont;
};

} // namespace sw
