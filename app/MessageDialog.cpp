#include "MessageDialog.h"
#include <qrt/MsgBox.h>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace qrt::app
{

namespace
{
constexpr int kLongLines = 12;
constexpr int kLongChars = 1200;

QStyle::StandardPixmap iconOf(int style)
{
    switch (style & 0xF0) {
    case 16:
        return QStyle::SP_MessageBoxCritical;
    case 32:
        return QStyle::SP_MessageBoxQuestion;
    case 48:
        return QStyle::SP_MessageBoxWarning;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

QLabel *textLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

bool MessageDialog::isLong(const QString &prompt)
{
    return prompt.count(u'\n') >= kLongLines || prompt.size() > kLongChars;
}

MessageDialog::MessageDialog(const QString &prompt, int style, const QString &title,
                             QWidget *parent)
    : QDialog(parent), m_answer(MsgBoxOk)
{
    setWindowTitle(title);
    auto *icon = new QLabel;
    const int side = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(this->style()->standardIcon(iconOf(style), nullptr, this).pixmap(side));
    icon->setAlignment(Qt::AlignTop);
    auto *text = new QVBoxLayout;
    if (!isLong(prompt)) {
        text->addWidget(textLabel(prompt));
    } else {
        // The first line says what the list is; a last paragraph after it (advice, or the
        // question the buttons answer) stays in view below the list.
        QString body = prompt;
        const qsizetype firstBreak = body.indexOf(u'\n');
        text->addWidget(textLabel(body.left(firstBreak)));
        body = body.mid(firstBreak + 1);
        QString after;
        if (const qsizetype lastParagraph = body.lastIndexOf(QStringLiteral("\n\n"));
            lastParagraph > 0 && body.size() - lastParagraph < 400) {
            after = body.mid(lastParagraph + 2);
            body.truncate(lastParagraph);
        }
        m_list = new QPlainTextEdit(body);
        m_list->setObjectName(QStringLiteral("messageList"));
        m_list->setReadOnly(true);
        m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_list->setMinimumHeight(m_list->fontMetrics().lineSpacing() * 4);
        text->addWidget(m_list, 1);
        if (!after.isEmpty())
            text->addWidget(textLabel(after));
    }
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);

    const int buttons = style & 0x0F;
    auto *box = new QDialogButtonBox(buttons == 3 ? QDialogButtonBox::Yes | QDialogButtonBox::No |
                                                        QDialogButtonBox::Cancel
                                     : buttons == 4 ? QDialogButtonBox::Yes | QDialogButtonBox::No
                                                    : QDialogButtonBox::Ok);
    // Escape answers as the box's own escape button would: Cancel, No, or OK.
    m_answer = buttons == 3 ? MsgBoxCancel : buttons == 4 ? MsgBoxNo : MsgBoxOk;
    if (m_list) {
        QPushButton *copy = box->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
        copy->setObjectName(QStringLiteral("copyMessage"));
        copy->setAutoDefault(false);
        connect(copy, &QPushButton::clicked, this,
                [prompt] { QGuiApplication::clipboard()->setText(prompt); });
    }
    QPushButton *first =
        box->button(buttons == 3 || buttons == 4 ? QDialogButtonBox::Yes : QDialogButtonBox::Ok);
    first->setDefault(true);
    first->setFocus();
    connect(box, &QDialogButtonBox::clicked, this, [this, box](QAbstractButton *b) {
        switch (box->standardButton(b)) {
        case QDialogButtonBox::Yes:
            m_answer = MsgBoxYes;
            break;
        case QDialogButtonBox::No:
            m_answer = MsgBoxNo;
            break;
        case QDialogButtonBox::Cancel:
            m_answer = MsgBoxCancel;
            break;
        case QDialogButtonBox::Ok:
            m_answer = MsgBoxOk;
            break;
        default:
            return; // Copy
        }
        done(QDialog::Accepted);
    });
    layout->addWidget(box);

    // No taller than two thirds of the screen: a long list scrolls in its box.
    if (const QScreen *s = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect free = s->availableGeometry();
        setMaximumHeight(free.height() * 2 / 3);
        if (m_list) {
            const int lines = int(prompt.count(u'\n')) + 2;
            const int tall = sizeHint().height() - m_list->sizeHint().height() +
                             lines * m_list->fontMetrics().lineSpacing();
            resize(std::min(free.width() * 2 / 3, 720), std::min(tall, free.height() * 2 / 3));
        }
    }
}

int MessageDialog::ask(const QString &prompt, int style, const QString &title)
{
    MessageDialog dialog(prompt, style, title, QApplication::activeWindow());
    dialog.exec();
    return dialog.answer();
}

} // namespace qrt::app
