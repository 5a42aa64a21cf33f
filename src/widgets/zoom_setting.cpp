#include "widgets/zoom_setting.h"

#include "base/view_zoom.h"

void ZoomSetting::setPercent(int percent)
{
    if (!ViewZoom::isLevel(percent) || percent == m_percent)
        return;
    m_percent = percent;
    emit changed(percent);
}

void ZoomSetting::zoomIn() { setPercent(ViewZoom::larger(m_percent)); }
void ZoomSetting::zoomOut() { setPercent(ViewZoom::smaller(m_percent)); }
void ZoomSetting::actualSize() { setPercent(ViewZoom::Actual); }
