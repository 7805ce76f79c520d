#pragma once

#include <algorithm>

namespace Quorl {

// Integer point, size and rectangle in client pixels of the host window. A rectangle holds its
// right and bottom edges exclusively: a point lies inside when left <= x < right and
// top <= y < bottom.

struct POINT {
    int x = 0;
    int y = 0;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CPoint : public POINT {
public:
    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : POINT{px, py} {}
    constexpr CPoint(const POINT& p) : POINT(p) {}

    void SetPoint(int px, int py) {
        x = px;
        y = py;
    }
    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    void Offset(const POINT& p) { Offset(p.x, p.y); }

    CPoint& operator+=(const POINT& p) {
        Offset(p.x, p.y);
        return *this;
    }
    CPoint& operator-=(const POINT& p) {
        Offset(-p.x, -p.y);
        return *this;
    }
    friend constexpr CPoint operator+(CPoint a, const POINT& b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr CPoint operator-(CPoint a, const POINT& b) { return {a.x - b.x, a.y - b.y}; }
    constexpr CPoint operator-() const { return {-x, -y}; }
    friend constexpr bool operator==(const CPoint& a, const CPoint& b) {
        return a.x == b.x && a.y == b.y;
    }
};

class CSize : public SIZE {
public:
    constexpr CSize() = default;
    constexpr CSize(int w, int h) : SIZE{w, h} {}
    constexpr CSize(const SIZE& s) : SIZE(s) {}

    void SetSize(int w, int h) {
        cx = w;
        cy = h;
    }
    friend constexpr CSize operator+(CSize a, const SIZE& b) { return {a.cx + b.cx, a.cy + b.cy}; }
    friend constexpr CSize operator-(CSize a, const SIZE& b) { return {a.cx - b.cx, a.cy - b.cy}; }
    friend constexpr bool operator==(const CSize& a, const CSize& b) {
        return a.cx == b.cx && a.cy == b.cy;
    }
};

class CRect : public RECT {
public:
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& r) : RECT(r) {}
    constexpr CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    constexpr CRect(const POINT& topLeft, const POINT& bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }

    // Empty: no area (zero or negative width or height). Null: all four edges are 0.
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(const POINT& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool EqualRect(const RECT& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }

    void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy, -dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void MoveToX(int x) {
        right += x - left;
        left = x;
    }
    void MoveToY(int y) {
        bottom += y - top;
        top = y;
    }
    void MoveToXY(int x, int y) {
        MoveToX(x);
        MoveToY(y);
    }
    // Swaps edges so that left <= right and top <= bottom.
    void NormalizeRect() {
        if (left > right) {
            std::swap(left, right);
        }
        if (top > bottom) {
            std::swap(top, bottom);
        }
    }
    // The common part of a and b; an empty result is set to all zeros and answers false.
    bool IntersectRect(const RECT& a, const RECT& b) {
        CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom));
        if (r.Width() <= 0 || r.Height() <= 0) {
            SetRectEmpty();
            return false;
        }
        *this = r;
        return true;
    }
    // The smallest rectangle holding both; empty inputs are ignored.
    bool UnionRect(const RECT& a, const RECT& b) {
        const CRect ra(a), rb(b);
        if (ra.Width() <= 0 || ra.Height() <= 0) {
            *this = rb;
        } else if (rb.Width() <= 0 || rb.Height() <= 0) {
            *this = ra;
        } else {
            SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
        }
        if (Width() <= 0 || Height() <= 0) {
            SetRectEmpty();
            return false;
        }
        return true;
    }

    CRect& operator+=(const POINT& p) {
        OffsetRect(p);
        return *this;
    }
    CRect& operator-=(const POINT& p) {
        OffsetRect(-p.x, -p.y);
        return *this;
    }
    CRect& operator&=(const RECT& r) {
        IntersectRect(*this, r);
        return *this;
    }
    CRect& operator|=(const RECT& r) {
        UnionRect(*this, r);
        return *this;
    }
    friend CRect operator+(CRect r, const POINT& p) { return r += p; }
    friend CRect operator-(CRect r, const POINT& p) { return r -= p; }
    friend CRect operator&(CRect a, const RECT& b) { return a &= b; }
    friend CRect operator|(CRect a, const RECT& b) { return a |= b; }
    friend constexpr bool operator==(const CRect& a, const CRect& b) { return a.EqualRect(b); }
};

}  // namespace Quorl
