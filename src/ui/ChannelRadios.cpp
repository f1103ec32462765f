#include "ui/ChannelRadios.h"

#include <QBoxLayout>
#include <QRadioButton>

namespace pixoral {

std::array<QRadioButton*, 3> addChannelRadios(QWidget* parent, QBoxLayout* into, std::function<void(int)> onClick) {
    struct RadioInfo {
        const char* name;
        Qt::GlobalColor color;
    };
    static constexpr RadioInfo kRadios[3] = {{"redradio", Qt::red}, {"greenradio", Qt::darkGreen}, {"blueradio", Qt::blue}};
    std::array<QRadioButton*, 3> radios{};
    for (int ch = 0; ch < 3; ++ch) {
        auto* r = new QRadioButton(parent);
        r->setObjectName(QString::fromLatin1(kRadios[ch].name));
        QPalette pal = r->palette();
        pal.setColor(QPalette::WindowText, kRadios[ch].color);
        pal.setColor(QPalette::ButtonText, kRadios[ch].color);
        r->setPalette(pal);
        QFont f = r->font();
        f.setBold(true);
        r->setFont(f);
        QObject::connect(r, &QRadioButton::clicked, parent, [onClick, ch] { onClick(ch); });
        radios[ch] = r;
        into->addWidget(r);
    }
    return radios;
}

}  // namespace pixoral
