#include "LazyIconEngine.h"

CLazyIconEngine::CLazyIconEngine(std::function<QIcon()> make, QList<QSize> sizes)
    : m_made(std::make_shared<SMade>()), m_sizes(std::move(sizes))
{
    m_made->make = std::move(make);
}

const QIcon& CLazyIconEngine::Icon()
{
    if (!m_made->made) {
        m_made->icon = m_made->make();
        m_made->made = true;
    }
    return m_made->icon;
}

void CLazyIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state)
{
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize CLazyIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().actualSize(size, mode, state);
}

QPixmap CLazyIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().pixmap(size, 1.0, mode, state);
}

QPixmap CLazyIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                      qreal scale)
{
    // The engine is asked in device pixels; the icon is asked in its own.
    QPixmap pixmap = Icon().pixmap(size / scale, scale, mode, state);
    return pixmap;
}

QList<QSize> CLazyIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    if (m_made->made || m_sizes.isEmpty())
        return Icon().availableSizes(mode, state);
    return mode == QIcon::Normal && state == QIcon::Off ? m_sizes : QList<QSize>();
}

QString CLazyIconEngine::key() const
{
    return QStringLiteral("CLazyIconEngine");
}

QIconEngine* CLazyIconEngine::clone() const
{
    return new CLazyIconEngine(*this);
}
