#include "generators/TQuickPreviewF.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/PictureView.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

TQuickPreviewF::TQuickPreviewF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("TQuickPreviewF"));
    setWindowTitle(QStringLiteral("Pixoral Preview"));

    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);

    Use = new QPushButton(QStringLiteral("Use"), this);
    Use->setObjectName(QStringLiteral("Use"));
    Use->setFlat(true);
    Use->setToolTip(QStringLiteral("Copy the preview into the image"));
    QFont f = Use->font();
    f.setBold(true);
    Use->setFont(f);
    QPalette pal = Use->palette();
    pal.setColor(QPalette::ButtonText, Qt::red);
    Use->setPalette(pal);
    Use->setFixedHeight(24);
    connect(Use, &QPushButton::clicked, this, [this] { UseClick(); });
    col->addWidget(Use, 0, Qt::AlignLeft);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Image1 = new PictureView(ScrollBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    col->addWidget(ScrollBox1, 1);

    fitToPicture();
}

TQuickPreviewF::~TQuickPreviewF() {
    // Nothing may reach the owner while the window's own parts go away.
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TQuickPreviewF::showPicture(const Bitmap& picture) {
    picture_ = picture;
    Image1->setImage(picture_.toImage());
    fitToPicture();
    if (!placed_) {
        // First showing: to the right of the owner's window and low enough to leave the Quick
        // window above it in view, so the workspace and the preview can be compared; later
        // the user's place is kept.
        placed_ = true;
        if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
            const QRect m = owner->frameGeometry();
            QPoint at = m.topRight() + QPoint(4, std::max(m.height() / 3, 300));
            if (const QScreen* s = owner->screen()) {
                const QRect room = s->availableGeometry();
                at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
                at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
            }
            move(at);
        }
    }
    show();
    raise();
}

void TQuickPreviewF::fitToPicture() {
    QSize want = Image1->size() + QSize(0, Use->height());
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QSize room = s->availableGeometry().size() * 9 / 10;
        // When the picture does not fit, the scroll bars need room of their own.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (want.width() > room.width()) want.rheight() += bar;
        if (want.height() > room.height()) want.rwidth() += bar;
        want = want.boundedTo(room);
    }
    resize(want.expandedTo(QSize(120, 60)));
}

void TQuickPreviewF::UseClick() {
    if (hasPicture()) host_.replaceWorkspace(picture_);
    close();
}

}  // namespace pixoral::generators
