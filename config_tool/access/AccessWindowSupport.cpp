#include "config_tool/access/AccessWindowSupport.h"

#include "config_tool/foundation/Globals.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace tarn::AccessWindow {

void showMessage(const std::string& text, MessageIcon icon)
{
    Globals::ui().showTitledMessage(kMessageTitle, text, icon);
}

QLabel* createTitleLabel(QWidget* window, const char* text, const char* objectName)
{
    auto* label = new QLabel(QString::fromLatin1(text), window);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(6);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette colours = label->palette();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        colours.setColor(group, QPalette::Window, colours.color(QPalette::Active, QPalette::Highlight));
        colours.setColor(group, QPalette::WindowText, Qt::white);
    }
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    return label;
}

QHBoxLayout* createOkCancelButtons(QWidget* window, std::array<QPushButton*, 2>& buttons,
                                   const std::function<void(int)>& click)
{
    buttons[0] = new QPushButton(QStringLiteral("&Ok"), window);
    buttons[1] = new QPushButton(QStringLiteral("&Cancel"), window);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setObjectName(QStringLiteral("cmdButtons_%1").arg(i));
        const int index = static_cast<int>(i);
        QObject::connect(buttons[i], &QPushButton::clicked, window, [click, index] { click(index); });
        row->addWidget(buttons[i]);
    }
    buttons[0]->setDefault(true);
    return row;
}

namespace {

// The password character as a style hint: cheaper to set up than a style sheet, which the start-up of
// the login window would otherwise pay for.
class StarPasswords : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return '*';
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void makePasswordBox(QLineEdit* box)
{
    static QPointer<StarPasswords> style;
    if (!style) {
        style = new StarPasswords;
        style->setParent(qApp);
    }
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

void showCentred(QWidget* window)
{
    window->adjustSize();
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->geometry();
        window->move(area.x() + (area.width() - window->width()) / 2,
                     area.y() + (area.height() - window->height()) / 2);
    }
    window->show();
}

int typedCharacterCode(const QKeyEvent& key)
{
    const QString text = key.text();
    if (text.isEmpty()) {
        return 0;
    }
    const char16_t first = text.at(0).unicode();
    if (first == u'\b') {
        return '\b';
    }
    // Control characters are Enter, Esc, Tab and the Ctrl shortcuts; Delete is 0x7F.
    if (first < 0x20 || first == 0x7F) {
        return 0;
    }
    const std::string ansi = orvant::platform::utf8ToAnsi(text.left(1).toStdString());
    return ansi.empty() ? 0 : static_cast<unsigned char>(ansi.front());
}

} // namespace tarn::AccessWindow
