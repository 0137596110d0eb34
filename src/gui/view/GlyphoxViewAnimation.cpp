#include "GlyphoxView.h"

#include "ui_GlyphoxView.h"

void CGlyphoxView::OnAnimate()
{
    m_bAnimate = !m_bAnimate;
    m_ui->buttonAddFrame->setEnabled(!m_bAnimate);
    m_ui->buttonAnimate->setText(m_bAnimate ? tr("Stop!") : tr("Animate!"));
    if (m_bAnimate)
        m_animTimer.start();
    else
        m_animTimer.stop();
}

void CGlyphoxView::OnTimer()
{
    AdvanceStep();
}

void CGlyphoxView::OnAddFrame()
{
    AdvanceStep();
}

void CGlyphoxView::AdvanceStep()
{
    if (++m_nAnimStep > 3)
        m_nAnimStep = 0;
    if (++m_nAnimToggle > 1)
        m_nAnimToggle = 0;
    RedrawStrips();
}
