#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <memory>

// An icon made only when it is first drawn or asked for a pixmap; until then it knows its
// sizes. A window icon set while the window is made is not drawn on every platform, and
// reading its image files is a large part of showing the first window.
class CLazyIconEngine : public QIconEngine
{
public:
    // sizes: what make's icon holds in its normal, off state; empty when not known, so
    // that asking for them makes the icon.
    CLazyIconEngine(std::function<QIcon()> make, QList<QSize> sizes);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    // Shared by the copies, so the icon is made once.
    struct SMade
    {
        std::function<QIcon()> make;
        QIcon icon;
        bool made = false;
    };

    const QIcon& Icon();

    std::shared_ptr<SMade> m_made;
    QList<QSize> m_sizes;
};
