#include "ui/Application/PasswordEcho.h"

#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>

namespace {

class StarEchoStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* StarEcho()
{
    static QStyle* style = [] {
        auto* created = new StarEchoStyle;
        created->setParent(qApp);
        return created;
    }();
    return style;
}

} // namespace

void ShowStarsFor(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyle(StarEcho());
}
