// A paint device whose drawing becomes a placeable Windows metafile: whatever a QPainter draws
// on it (lines, polygons, paths, rectangles, text) is recorded as metafile records, so a chart
// renders into a ".wmf" picture through the same code that paints it on screen.
#pragma once

#include "views/wmf_writer.h"

#include <QPaintDevice>

#include <memory>

class WmfPaintEngine;

class WmfPaintDevice : public QPaintDevice {
public:
    // A drawing of width × height pixels at 96 dots per inch.
    WmfPaintDevice(int width, int height);
    ~WmfPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    // The metafile of what was painted (complete once the painter has ended).
    QByteArray bytes() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int width_;
    int height_;
    std::unique_ptr<WmfPaintEngine> engine_;
};
