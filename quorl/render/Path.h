#pragma once

#include <vector>

namespace Quorl {

// A drawing path recorded as figures of lines and elliptic arcs, in pixel units. Angles are
// in degrees, clockwise from the positive x axis (screen y grows downwards).
class Path {
public:
    enum class Op { MoveTo, LineTo, Arc, Close, NewFigure };
    struct Segment {
        Op op;
        float x, y, w, h;  // MoveTo/LineTo use x and y; Arc uses the ellipse's bounds
        float startAngle, sweepAngle;
    };

    void MoveTo(float x, float y) { m_segments.push_back({Op::MoveTo, x, y, 0, 0, 0, 0}); }
    void LineTo(float x, float y) { m_segments.push_back({Op::LineTo, x, y, 0, 0, 0, 0}); }
    // A line from x1,y1 to x2,y2, joined to the current figure.
    void AddLine(float x1, float y1, float x2, float y2) {
        LineTo(x1, y1);
        LineTo(x2, y2);
    }
    // An arc of the ellipse inside (x, y, w, h), joined to the current figure by a line.
    void AddArc(float x, float y, float w, float h, float startAngle, float sweepAngle) {
        m_segments.push_back({Op::Arc, x, y, w, h, startAngle, sweepAngle});
    }
    void AddRectangle(float x, float y, float w, float h) {
        MoveTo(x, y);
        LineTo(x + w, y);
        LineTo(x + w, y + h);
        LineTo(x, y + h);
        CloseFigure();
    }
    void AddEllipse(float x, float y, float w, float h) {
        StartFigure();
        AddArc(x, y, w, h, 0, 360);
        CloseFigure();
    }
    // Ends the current figure without closing it; the next segment starts a new one.
    void StartFigure() { m_segments.push_back({Op::NewFigure, 0, 0, 0, 0, 0, 0}); }
    void CloseFigure() { m_segments.push_back({Op::Close, 0, 0, 0, 0, 0, 0}); }
    void Reset() { m_segments.clear(); }

    bool IsEmpty() const { return m_segments.empty(); }
    const std::vector<Segment>& Segments() const { return m_segments; }

private:
    std::vector<Segment> m_segments;
};

}  // namespace Quorl
