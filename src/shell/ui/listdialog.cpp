// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/listdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// A window frame's title bar and borders, which the window manager adds around the dialog.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;
// The list shows at most this many lines before it scrolls, and is never narrower or
// wider than these (in average characters).
constexpr int kShownLines = 24;
constexpr int kNarrowest = 40;
constexpr int kWidest = 110;

QStyle::StandardPixmap toPixmap(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Exclamation: return QStyle::SP_MessageBoxWarning;
    case PromptIcon::Critical: return QStyle::SP_MessageBoxCritical;
    case PromptIcon::Question: return QStyle::SP_MessageBoxQuestion;
    case PromptIcon::None:
    case PromptIcon::Information: break;
    }
    return QStyle::SP_MessageBoxInformation;
}

std::vector<std::pair<PromptAnswer, QDialogButtonBox::StandardButton>> buttonsOf(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok: return {{PromptAnswer::Ok, QDialogButtonBox::Ok}};
    case PromptButtons::YesNo:
        return {{PromptAnswer::Yes, QDialogButtonBox::Yes}, {PromptAnswer::No, QDialogButtonBox::No}};
    case PromptButtons::YesNoCancel:
        return {{PromptAnswer::Yes, QDialogButtonBox::Yes},
                {PromptAnswer::No, QDialogButtonBox::No},
                {PromptAnswer::Cancel, QDialogButtonBox::Cancel}};
    case PromptButtons::OkCancel:
        return {{PromptAnswer::Ok, QDialogButtonBox::Ok}, {PromptAnswer::Cancel, QDialogButtonBox::Cancel}};
    }
    return {};
}

// Esc is never the risky answer.
PromptAnswer escapeAnswer(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok: return PromptAnswer::Ok;
    case PromptButtons::YesNo: return PromptAnswer::No;
    case PromptButtons::YesNoCancel:
    case PromptButtons::OkCancel: return PromptAnswer::Cancel;
    }
    return PromptAnswer::Cancel;
}

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setVisible(!text.isEmpty());
    return label;
}

} // namespace

ListDialog::ListDialog(const QString &text, const QStringList &lines, const QString &question, const QString &title,
                       PromptIcon icon, PromptButtons buttons, PromptAnswer defaultAnswer, QWidget *parent)
    : QDialog(parent)
    , m_list(new QPlainTextEdit(this))
    , m_box(new QDialogButtonBox(this))
    , m_default(defaultAnswer)
    , m_escape(escapeAnswer(buttons))
    , m_answer(m_escape)
{
    setObjectName(u"ListDialog"_s);
    setWindowTitle(title);
    setSizeGripEnabled(true);
    auto *grid = new QGridLayout(this);
    if (icon != PromptIcon::None) {
        auto *picture = new QLabel(this);
        const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        picture->setPixmap(style()->standardIcon(toPixmap(icon), nullptr, this).pixmap(side, side));
        picture->setAlignment(Qt::AlignTop);
        grid->addWidget(picture, 0, 0, 2, 1);
    }
    grid->addWidget(wrappedLabel(text, this), 0, 1);

    m_list->setObjectName(u"list"_s);
    m_list->setReadOnly(true);
    m_list->setPlainText(lines.join(u'\n'));
    m_list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->installEventFilter(this);
    m_list->setVisible(!lines.isEmpty());
    grid->addWidget(m_list, 1, 1);
    grid->setRowStretch(1, 1);

    auto *asked = wrappedLabel(question, this);
    asked->setObjectName(u"question"_s);
    QFont bold = asked->font();
    bold.setBold(true);
    asked->setFont(bold);
    grid->addWidget(asked, 2, 1);

    for (const auto &[answer, standard] : buttonsOf(buttons)) {
        QPushButton *b = m_box->addButton(standard);
        // Space must not answer: only Enter (the default), Esc, the letters and a click do.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->setDefault(answer == defaultAnswer);
        const PromptAnswer chosen = answer;
        connect(b, &QPushButton::clicked, this, [this, chosen] { choose(chosen); });
        m_buttons[answer] = b;
    }
    m_box->setObjectName(u"buttons"_s);
    grid->addWidget(m_box, 3, 0, 1, 2);

    // As wide as the longest line needs, within bounds; as tall as its lines, up to a screenful.
    const QFontMetrics metrics(m_list->font());
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int chars = metrics.averageCharWidth();
    const int width = std::clamp(widest + 40, kNarrowest * chars, kWidest * chars);
    const auto shown = int(std::min<qsizetype>(lines.size(), kShownLines));
    m_list->setMinimumWidth(width);
    m_list->setMinimumHeight(metrics.lineSpacing() * std::max(shown, 3) + 2 * m_list->frameWidth() + 8);
    fitToScreen();
}

QSize ListDialog::roomOnScreen(const QWidget *near)
{
    const QScreen *screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(1366, 768);
    return available - QSize(kFrameWidth, kFrameHeight);
}

void ListDialog::fitToScreen()
{
    const QSize room = roomOnScreen(parentWidget() ? parentWidget() : this);
    // The list gives way first: its minimum is what it would like, not what it needs.
    const QSize wanted = sizeHint();
    if (wanted.height() > room.height() || wanted.width() > room.width()) {
        const QSize excess = (wanted - room).expandedTo(QSize(0, 0));
        m_list->setMinimumSize(
            std::max(120, m_list->minimumWidth() - excess.width()),
            std::max(3 * QFontMetrics(m_list->font()).lineSpacing(), m_list->minimumHeight() - excess.height()));
    }
    setMaximumSize(room);
    resize(sizeHint().boundedTo(room));
}

void ListDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The list takes the keys, so the arrows and Page keys scroll it.
    if (m_list->isVisible())
        m_list->setFocus();
}

QAbstractButton *ListDialog::button(PromptAnswer answer) const
{
    const auto it = m_buttons.find(answer);
    return it == m_buttons.end() ? nullptr : it->second;
}

QAbstractButton *ListDialog::defaultButton() const { return button(m_default); }

void ListDialog::choose(PromptAnswer answer)
{
    m_answer = answer;
    done(answer == m_escape ? QDialog::Rejected : QDialog::Accepted);
}

void ListDialog::reject()
{
    if (m_default != PromptAnswer::None)
        choose(m_escape);
}

void ListDialog::keyPressEvent(QKeyEvent *event)
{
    const bool plainOrAlt = !(event->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier | Qt::ShiftModifier));
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (m_default != PromptAnswer::None)
            choose(m_default);
        event->accept();
        return;
    case Qt::Key_Escape:
        reject();
        event->accept();
        return;
    case Qt::Key_Y:
        if (plainOrAlt && button(PromptAnswer::Yes)) {
            choose(PromptAnswer::Yes);
            return;
        }
        break;
    case Qt::Key_N:
        if (plainOrAlt && button(PromptAnswer::No)) {
            choose(PromptAnswer::No);
            return;
        }
        break;
    default: break;
    }
    // Space and every other key answer nothing.
    event->accept();
}

bool ListDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        QScrollBar *bar = m_list->verticalScrollBar();
        QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
        switch (key->key()) {
        case Qt::Key_Up: action = QAbstractSlider::SliderSingleStepSub; break;
        case Qt::Key_Down: action = QAbstractSlider::SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
        case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
        case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
        case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
        default: break;
        }
        if (action != QAbstractSlider::SliderNoAction && !(key->modifiers() & ~Qt::KeypadModifier)) {
            bar->triggerAction(action);
            return true;
        }
        // Copying a marked part of the list is the list's; every other key is the dialog's.
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll))
            return false;
        keyPressEvent(key);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace sw
