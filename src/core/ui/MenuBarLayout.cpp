#include "MenuBarLayout.h"

#include <algorithm>

namespace MenuBarLayout {

namespace {

// Index of the "&" that marks the access key, -1 when there is none.
qsizetype AccessKeyPos(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return i;
        ++i; // "&&" is a literal ampersand
    }
    return -1;
}

// The first visible button after i, or -1.
qsizetype NextVisible(std::span<const CItemBox> items, qsizetype i)
{
    for (qsizetype j = i + 1; j < qsizetype(items.size()); ++j) {
        if (!items[j].IsHidden())
            return j;
    }
    return -1;
}

} // namespace

CMenuMetrics MenuMetrics(int nFontHeight, int nMenuHeight, int nSmallIconHeight)
{
    CMenuMetrics metrics;
    metrics.nFontHeight = nFontHeight;
    metrics.nButtonHeight = std::max(nMenuHeight, nSmallIconHeight);
    metrics.nTextMargin = (metrics.nButtonHeight - nFontHeight) / 2;
    return metrics;
}

int WrapMenuBar(std::span<CItemBox> items, int nWidth)
{
    int nRows = 0;
    int x = 0;
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i) {
        CItemBox& item = items[i];
        item.nState &= ~kStateWrap;
        // A hidden button takes no room and never ends a row: the next row would have no height.
        if (item.IsHidden())
            continue;
        nRows = std::max(nRows, 1);
        const qsizetype nNext = NextVisible(items, i);
        if (nNext < 0)
            continue; // the last button never ends a row
        const int nItemWidth = item.Size().width();
        const int nNextWidth = items[nNext].Size().width();
        const bool bFull = x + nItemWidth > nWidth || x + nItemWidth + nNextWidth > nWidth;
        if (bFull && (item.nStyle & kStyleWrap)) {
            item.nState |= kStateWrap;
            x = 0;
            ++nRows;
        } else {
            // A button that may not wrap stays in its row and takes its room there.
            x += nItemWidth;
        }
    }
    return nRows;
}

QSize CalcSize(std::span<const CItemBox> items)
{
    QSize size(0, 0);
    int x = 0;
    int y = 0;
    for (const CItemBox& item : items) {
        const QSize itemSize = item.Size();
        size = size.expandedTo(QSize(x + itemSize.width(), y + itemSize.height()));
        x += itemSize.width();
        if (item.nState & kStateWrap) {
            x = 0;
            y += itemSize.height();
        }
    }
    return size;
}

std::vector<QRect> Place(std::span<const CItemBox> items, const QPoint& origin, bool bHorizontal)
{
    std::vector<QRect> rects;
    rects.reserve(items.size());
    QPoint at = origin;
    for (const CItemBox& item : items) {
        const QSize size = item.Size();
        if (!bHorizontal) {
            rects.emplace_back(item.IsHidden() ? QRect() : QRect(at, size.transposed()));
            at.ry() += size.width();
            continue;
        }
        rects.emplace_back(item.IsHidden() ? QRect() : QRect(at, size));
        at.rx() += size.width();
        if (item.nState & kStateWrap) {
            at.rx() = origin.x();
            at.ry() += size.height();
        }
    }
    return rects;
}

QSize CalcVertSize(std::span<const CItemBox> items, int nButtonHeight)
{
    int nHeight = 0;
    for (const CItemBox& item : items)
        nHeight += item.Size().width();
    return {nButtonHeight, nHeight};
}

CInsets BarInsets(bool bHorizontal, bool bGripper)
{
    const int nGripper = bGripper ? kGripper : 0;
    return {kBorderLeft + (bHorizontal ? nGripper : 0), kBorderTop + (bHorizontal ? 0 : nGripper),
            kBorderRight, kBorderBottom};
}

int NextItem(std::span<const CItemBox> items, int nFrom, bool bForward)
{
    const int nCount = int(items.size());
    if (nCount == 0)
        return -1;
    if (nFrom < 0 || nFrom >= nCount)
        nFrom = bForward ? -1 : nCount;
    const int nStep = bForward ? 1 : -1;
    for (int n = 1; n <= nCount; ++n) {
        const int i = ((nFrom + n * nStep) % nCount + nCount) % nCount;
        if ((items[i].nStyle & kStyleHit) && !items[i].IsHidden())
            return i;
    }
    return -1;
}

QPoint PopupPosition(const QRect& button, bool bHorizontal, const QSize& popupSize,
                     const QRect& screen)
{
    if (!screen.isValid())
        return bHorizontal ? QPoint(button.left() - 1, button.bottom() + 1)
                           : QPoint(button.right() + 2, button.top() - 1);
    if (bHorizontal) {
        QPoint pos(button.left() - 1, button.bottom() + 1);
        const int nBelow = screen.bottom() + 1 - pos.y();
        const int nAbove = button.top() - screen.top();
        if (popupSize.height() > nBelow && nAbove > nBelow)
            pos.ry() = button.top() - popupSize.height();
        return pos;
    }
    QPoint pos(button.right() + 2, button.top() - 1);
    const int nRight = screen.right() + 1 - pos.x();
    const int nLeft = button.left() - screen.left();
    if (popupSize.width() > nRight && nLeft > nRight)
        pos.rx() = button.left() - popupSize.width();
    return pos;
}

QChar AccessKey(const QString& text)
{
    const qsizetype nPos = AccessKeyPos(text);
    return nPos < 0 ? QChar() : text[nPos + 1];
}

QString DisplayText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

CUnderlineSpan UnderlineSpan(const QString& text, const std::function<int(const QString&)>& width)
{
    const qsizetype nPos = AccessKeyPos(text);
    if (nPos < 0)
        return {};
    const QString before = DisplayText(text.left(nPos));
    return {width(before) + kVertTextOffset, width(before + text[nPos + 1]) + kVertTextOffset};
}

} // namespace MenuBarLayout
