// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings/projectsettingsscreen.h"

#include "shell/common/appearance.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/session.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const char16_t *const kLabels[] = {
    u"Screen", u"Fields (Default)", u"Fields (Online)", u"Field Color", u"Label Color", u"Font", u"Size"};
const char16_t *const kTips[] = {u"Colour of the screens",
                                 u"Colour of the boxes while browsing",
                                 u"Colour of the boxes being typed in",
                                 u"Colour of the text in the boxes",
                                 u"Colour of the captions",
                                 u"Font of every screen",
                                 u"Font size of every screen, 1 to 99"};

} // namespace

ProjectSettingsScreen::ProjectSettingsScreen(const FormContext &context)
    : ChildForm(context, u"SETTINGS"_s, u"Project Settings . . ."_s)
    , m_fields(addFieldFrame())
    , m_tabs(new QTabWidget)
    , m_default(new QPushButton(u"&Default"_s))
    , m_ok(new QPushButton(u"&OK"_s))
    , m_cancel(new QPushButton(u"&Cancel"_s))
{
    addBoxes();
    addButtons();
    m_chooseColour = [this](const QColor &current) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(current, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    m_chooseFont = [this](const QFont &current) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, current, this);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };
    Disp_rec();
}

void ProjectSettingsScreen::addBoxes()
{
    m_tabs->setObjectName(u"SSTab1"_s);
    m_fields->addField(u"S0"_s, {}, m_tabs);
    QWidget *pages[] = {new QWidget(m_tabs), new QWidget(m_tabs)};
    m_tabs->addTab(pages[0], u"Colours"_s);
    m_tabs->addTab(pages[1], u"Font"_s);
    QGridLayout *grids[] = {new QGridLayout(pages[0]), new QGridLayout(pages[1])};
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QWidget *page = pages[i < kColourBoxes ? 0 : 1];
        QGridLayout *grid = grids[i < kColourBoxes ? 0 : 1];
        const int row = i < kColourBoxes ? i : i - kColourBoxes;
        auto *box = new FieldBox(i == kColourBoxes ? FieldBox::kWidest : i == 6 ? 3 : 12, page);
        box->setObjectName(u"text_"_s + QString::number(i));
        box->setToolTip(QString::fromUtf16(kTips[i]) + (i <= kColourBoxes ? u", F1 to choose"_s : QString()));
        // Colours and the font come from their dialogs; the size is typed.
        box->setReadOnly(i <= kColourBoxes);
        m_boxes[size_t(i)] = box;
        auto *caption = new QLabel(QString::fromUtf16(kLabels[i]), page);
        caption->setBuddy(box);
        grid->addWidget(caption, row, 0);
        grid->addWidget(box, row, 1, Qt::AlignLeft);
        const QString key = u"T"_s + QString::number(i);
        m_fields->registerField(key, box);
        order << key;
        if (i <= kColourBoxes) {
            auto *button = new QPushButton(u"..."_s, page);
            button->setObjectName(u"cmd_"_s + QString::number(i));
            button->setToolTip(u"Choose "_s + QString::fromUtf16(kLabels[i]));
            button->setFixedWidth(32);
            m_buttons[size_t(i)] = button;
            grid->addWidget(button, row, 2);
            connect(button, &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
        }
        grid->setRowStretch(row + 1, 1);
    }
    m_boxes[6]->setMaxLength(2);
    m_boxes[6]->setInputMask(u"09"_s);
    m_fields->setCheck(m_boxes[6], [this] { return checkSize(); });
    m_fields->setFieldOrder((order + QStringList{u"B0"_s}).join(u','));
    // F1 in a box that takes a colour or the font opens its dialog, as its button does.
    m_fields->setKeyHook([this](QWidget *field, QKeyEvent *event) {
        if (event->key() != Qt::Key_F1)
            return false;
        for (int i = 0; i <= kColourBoxes; ++i) {
            if (field == m_boxes[size_t(i)]) {
                cmd_Click(i);
                return true;
            }
        }
        return false;
    });
}

void ProjectSettingsScreen::addButtons()
{
    m_default->setObjectName(u"cmddef"_s);
    m_default->setToolTip(u"Writes the default colours and font at once"_s);
    m_ok->setObjectName(u"cmdok"_s);
    m_ok->setDefault(true);
    m_ok->setToolTip(u"Writes the colours and the font and closes; Enter presses it"_s);
    m_cancel->setObjectName(u"cmdcancel"_s);
    auto *row = new QWidget;
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_default);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    m_fields->addField(u"R0"_s, {}, row);
    m_fields->registerField(u"B0"_s, m_ok);
    connect(m_default, &QPushButton::clicked, this, &ProjectSettingsScreen::cmddef_Click);
    connect(m_ok, &QPushButton::clicked, this, &ProjectSettingsScreen::CmdOk_Click);
    connect(m_cancel, &QPushButton::clicked, this, &ProjectSettingsScreen::CmdCancel_Click);
}

bool ProjectSettingsScreen::checkSize()
{
    const int size = m_boxes[6]->text().trimmed().toInt();
    if (size >= 1)
        return true;
    m_fields->refuse(m_boxes[6], u"Size: \"%1\" is not a font size (1 to 99)"_s.arg(m_boxes[6]->text().trimmed()));
    return false;
}

void ProjectSettingsScreen::setChoosers(ColourChooser colour, FontChooser font)
{
    m_chooseColour = std::move(colour);
    m_chooseFont = std::move(font);
}

void ProjectSettingsScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    if (m_firstActivate) {
        m_firstActivate = false;
        m_fields->focusFirst();
    }
    // The pages carry the screen colour the labels are drawn for, and each colour box
    // shows its own colour rather than the colour of fields being edited.
    const QColor screen = colourFromBgrText(Appearance::read(session().db()).screenColour);
    for (int i = 0; i < m_tabs->count(); ++i) {
        QWidget *page = m_tabs->widget(i);
        QPalette p = page->palette();
        p.setColor(QPalette::Window, screen);
        page->setPalette(p);
        page->setAutoFillBackground(screen.isValid());
    }
    for (int i = 0; i < kColourBoxes; ++i)
        paintColourBox(i);
    // The tab captions sit on the desktop's tab colour, not on the screen colour.
    QPalette captions = m_tabs->tabBar()->palette();
    captions.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    captions.setColor(QPalette::ButtonText, QApplication::palette().color(QPalette::ButtonText));
    m_tabs->tabBar()->setPalette(captions);
}

void ProjectSettingsScreen::paintColourBox(int index)
{
    // A style sheet, not the palette: the screens' appearance repaints every box's palette
    // in the edit colour, and a colour box must show its own colour.
    QLineEdit *box = m_boxes[size_t(index)];
    const QColor colour = colourFromBgrText(box->text());
    if (!colour.isValid()) {
        box->setStyleSheet({});
        return;
    }
    box->setStyleSheet(u"QLineEdit { background-color: %1; color: %2; }"_s.arg(
        colour.name(), colour.lightness() < 128 ? u"white"_s : u"black"_s));
}

void ProjectSettingsScreen::show(const AppearanceSettings &s)
{
    const QString values[] = {s.screenColour, s.fieldColour, s.onlineFieldColour, s.fontColour,
                              s.labelColour,  s.font,        s.fontSize};
    for (int i = 0; i < 7; ++i)
        m_boxes[size_t(i)]->setText(values[i]);
    for (int i = 0; i < kColourBoxes; ++i)
        paintColourBox(i);
}

AppearanceSettings ProjectSettingsScreen::typed() const
{
    AppearanceSettings s;
    s.screenColour = m_boxes[0]->text();
    s.fieldColour = m_boxes[1]->text();
    s.onlineFieldColour = m_boxes[2]->text();
    s.fontColour = m_boxes[3]->text();
    s.labelColour = m_boxes[4]->text();
    s.font = m_boxes[5]->text();
    s.fontSize = m_boxes[6]->text();
    return s;
}

void ProjectSettingsScreen::Disp_rec()
{
    try {
        show(ControlStore(session().db()).appearance());
    } catch (const std::exception &e) {
        showError(e);
    }
}

void ProjectSettingsScreen::cmd_Click(int index)
{
    if (index < kColourBoxes) {
        const QColor current = colourFromBgrText(m_boxes[size_t(index)]->text());
        if (const auto chosen = m_chooseColour(current.isValid() ? current : QColor(Qt::white))) {
            m_boxes[size_t(index)]->setText(bgrTextFromColour(*chosen));
            paintColourBox(index);
        }
        return;
    }
    QFont current(m_boxes[5]->text());
    current.setPointSize(qMax(1, m_boxes[6]->text().toInt()));
    if (const auto chosen = m_chooseFont(current)) {
        m_boxes[5]->setText(chosen->family());
        m_boxes[6]->setText(QString::number(chosen->pointSize() > 0 ? chosen->pointSize() : 8));
    }
}

void ProjectSettingsScreen::cmddef_Click()
{
    try {
        ControlStore store(session().db());
        store.setActor(session().userName);
        store.restoreDefaultAppearance();
        show(AppearanceSettings{});
        applyToOpenScreens(AppearanceSettings{});
        showOutcome(u"Default colours and font written"_s);
    } catch (const std::exception &e) {
        showError(e);
    }
}

void ProjectSettingsScreen::CmdOk_Click()
{
    try {
        const AppearanceSettings s = typed();
        ControlStore store(session().db());
        store.setActor(session().userName);
        if (!checkSize() || !store.saveAppearance(s, prompter())) {
            showOutcome(u"Nothing written"_s);
            return;
        }
        applyToOpenScreens(s);
    } catch (const std::exception &e) {
        showError(e);
        return;
    }
    unload();
}

void ProjectSettingsScreen::CmdCancel_Click() { unload(); }

void ProjectSettingsScreen::applyToOpenScreens(const AppearanceSettings &s)
{
    Session &session = this->session();
    session.fieldColour = s.fieldColour;
    session.editColour = s.onlineFieldColour;
    session.fontSize = s.fontSize.trimmed();
    const Appearance look = Appearance::read(session.db());
    for (ChildForm *form : window()->findChildren<ChildForm *>())
        look.apply(form, session.fontSize, session.folder);
}

} // namespace sw
