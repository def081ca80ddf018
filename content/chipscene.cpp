// ChipScene: ray casting of the chip solids along (1, 1, 1) in true proportions (z = levels
// / 2), which is the chips' 2:1 projection: a 64 x 32 top diamond, levels 16 pixels apart.
#include "content/chipscene.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {

constexpr double Eps = 1e-9;

// The light comes from the upper left: tops are brightest, the side facing +y (drawn on
// the left) lighter than the side facing +x (drawn on the right).
double LightShade(double nx, double ny, double nz) {
    const double lx = 0.3, ly = 0.6, lz = 1.0;
    const double len = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double d = std::max(0.0, (nx * lx + ny * ly + nz * lz) / len);
    return 1.5 + 9.0 * (0.2 + 0.8 * d);
}

} // namespace

Shader Flat(Ramp colour, double delta) {
    return [colour, delta](const SurfacePoint&) { return Paint{colour, delta}; };
}

void ChipScene::Project(double u, double v, double w, double scale, int level, double& x,
                        double& y) {
    x = (32 + 32 * (u - v)) * scale;
    y = 16 * (u + v - w + 1 + level) * scale;
}

int ChipScene::Add(Solid s) {
    s.Group = int(Solids.size());
    Solids.push_back(std::move(s));
    return int(Solids.size()) - 1;
}

int ChipScene::Box(double u0, double u1, double v0, double v1, double w0, double w1,
                   Shader shader) {
    return Convex({{1, 0, 0, u1},
                   {-1, 0, 0, -u0},
                   {0, 1, 0, v1},
                   {0, -1, 0, -v0},
                   {0, 0, 1, w1},
                   {0, 0, -1, -w0}},
                  std::move(shader));
}

int ChipScene::Convex(const std::vector<Plane>& planes, Shader shader) {
    Solid s;
    s.Type = Kind::Convex;
    // w = 2z, so c*w becomes 2c*z.
    for (const Plane& p : planes) s.Planes.push_back({p.A, p.B, 2 * p.C, p.D});
    // Bounds from the axis planes when present, else wide.
    double b[6] = {-2, 3, -2, 3, -2, 3};
    for (const Plane& p : s.Planes) {
        if (p.B == 0 && p.C == 0 && p.A != 0) {
            if (p.A > 0)
                b[1] = std::min(b[1], p.D / p.A);
            else
                b[0] = std::max(b[0], p.D / p.A);
        } else if (p.A == 0 && p.C == 0 && p.B != 0) {
            if (p.B > 0)
                b[3] = std::min(b[3], p.D / p.B);
            else
                b[2] = std::max(b[2], p.D / p.B);
        } else if (p.A == 0 && p.B == 0 && p.C != 0) {
            if (p.C > 0)
                b[5] = std::min(b[5], p.D / p.C);
            else
                b[4] = std::max(b[4], p.D / p.C);
        }
    }
    std::copy(b, b + 6, s.Bounds);
    s.Shade = std::move(shader);
    return Add(std::move(s));
}

int ChipScene::Ellipsoid(double cu, double cv, double cw, double ru, double rv, double rw,
                         Shader shader) {
    Solid s;
    s.Type = Kind::Ellipsoid;
    s.C[0] = cu;
    s.C[1] = cv;
    s.C[2] = cw / 2;
    s.R[0] = ru;
    s.R[1] = rv;
    s.R[2] = rw / 2;
    const double b[6] = {cu - ru, cu + ru, cv - rv, cv + rv, (cw - rw) / 2, (cw + rw) / 2};
    std::copy(b, b + 6, s.Bounds);
    s.Shade = std::move(shader);
    return Add(std::move(s));
}

int ChipScene::Frustum(double cu, double cv, double w0, double w1, double r0, double r1,
                       Shader shader) {
    Solid s;
    s.Type = Kind::Frustum;
    s.C[0] = cu;
    s.C[1] = cv;
    s.Z0 = w0 / 2;
    s.Z1 = w1 / 2;
    s.R[0] = r0;
    s.R[1] = r1;
    const double r = std::max(r0, r1);
    const double b[6] = {cu - r, cu + r, cv - r, cv + r, s.Z0, s.Z1};
    std::copy(b, b + 6, s.Bounds);
    s.Shade = std::move(shader);
    return Add(std::move(s));
}

// The ray of a pixel: (ox + t, oy + t, t); larger t lies nearer the viewer. The hit is the
// largest t inside the solid.
bool ChipScene::HitSolid(const Solid& s, double ox, double oy, double& t, int& plane) const {
    switch (s.Type) {
    case Kind::Convex: {
        double lo = -1e18, hi = 1e18;
        int hiPlane = -1;
        for (size_t i = 0; i < s.Planes.size(); ++i) {
            const Plane& p = s.Planes[i];
            const double nd = p.A + p.B + p.C;
            const double rest = p.D - (p.A * ox + p.B * oy);
            if (std::fabs(nd) < Eps) {
                if (rest < -Eps) return false;
                continue;
            }
            const double lim = rest / nd;
            if (nd > 0) {
                if (lim < hi) {
                    hi = lim;
                    hiPlane = int(i);
                }
            } else {
                lo = std::max(lo, lim);
            }
        }
        if (hiPlane < 0 || lo > hi + Eps) return false;
        t = hi;
        plane = hiPlane;
        return true;
    }
    case Kind::Ellipsoid: {
        const double px = (ox - s.C[0]) / s.R[0], py = (oy - s.C[1]) / s.R[1],
                     pz = -s.C[2] / s.R[2];
        const double dx = 1 / s.R[0], dy = 1 / s.R[1], dz = 1 / s.R[2];
        const double a = dx * dx + dy * dy + dz * dz;
        const double b = 2 * (px * dx + py * dy + pz * dz);
        const double c = px * px + py * py + pz * pz - 1;
        const double disc = b * b - 4 * a * c;
        if (disc < 0) return false;
        t = (-b + std::sqrt(disc)) / (2 * a);
        plane = -1;
        return true;
    }
    case Kind::Frustum: {
        // (p + t)^2 + (q + t)^2 <= (m + k t)^2 with r(t) = m + k t >= 0, Z0 <= t <= Z1.
        const double p = ox - s.C[0], q = oy - s.C[1];
        const double k = (s.R[1] - s.R[0]) / (s.Z1 - s.Z0);
        const double m = s.R[0] - k * s.Z0;
        const double A = 2 - k * k, B = 2 * (p + q - m * k), C = p * p + q * q - m * m;
        auto inside = [&](double x) {
            if (x < s.Z0 - 1e-7 || x > s.Z1 + 1e-7) return false;
            const double r = m + k * x;
            if (r < -1e-7) return false;
            return A * x * x + B * x + C <= 1e-7;
        };
        double cand[4];
        int n = 0;
        cand[n++] = s.Z1;
        if (std::fabs(A) > Eps) {
            const double disc = B * B - 4 * A * C;
            if (disc >= 0) {
                const double sq = std::sqrt(disc);
                cand[n++] = (-B + sq) / (2 * A);
                cand[n++] = (-B - sq) / (2 * A);
            }
        } else if (std::fabs(B) > Eps) {
            cand[n++] = -C / B;
        }
        if (std::fabs(k) > Eps) cand[n++] = -m / k;
        std::sort(cand, cand + n, [](double x, double y) { return x > y; });
        for (int i = 0; i < n; ++i) {
            if (inside(cand[i])) {
                t = cand[i];
                plane = std::fabs(cand[i] - s.Z1) < 1e-9 ? 0 : -1;
                return true;
            }
        }
        return false;
    }
    }
    return false;
}

ChipScene::Hit ChipScene::Trace(double ox, double oy) const {
    Hit best;
    // Screen position of the ray, to skip solids whose bounds it misses: the ray passes
    // (x, y, z) with x - y = ox - oy and x + y - 2z = ox + oy.
    const double a = ox - oy, b = ox + oy;
    for (size_t i = 0; i < Solids.size(); ++i) {
        const Solid& s = Solids[i];
        const double* bd = s.Bounds;
        if (a < bd[0] - bd[3] - 1e-6 || a > bd[1] - bd[2] + 1e-6) continue;
        if (b < bd[0] + bd[2] - 2 * bd[5] - 1e-6 || b > bd[1] + bd[3] - 2 * bd[4] + 1e-6) continue;
        double t;
        int plane;
        if (HitSolid(s, ox, oy, t, plane) && t > best.T) {
            best.T = t;
            best.Solid = int(i);
            best.Plane = plane;
        }
    }
    return best;
}

SurfacePoint ChipScene::Surface(const Solid& s, const Hit& h, double ox, double oy) const {
    SurfacePoint sp;
    const double x = ox + h.T, y = oy + h.T, z = h.T;
    sp.U = x;
    sp.V = y;
    sp.W = 2 * z;
    double nx = 0, ny = 0, nz = 1;
    switch (s.Type) {
    case Kind::Convex: {
        const Plane& p = s.Planes[size_t(h.Plane)];
        nx = p.A, ny = p.B, nz = p.C;
        for (size_t i = 0; i < s.Planes.size(); ++i) {
            if (int(i) == h.Plane) continue;
            const Plane& q = s.Planes[i];
            const double len = std::sqrt(q.A * q.A + q.B * q.B + q.C * q.C);
            sp.Edge = std::min(sp.Edge, (q.D - (q.A * x + q.B * y + q.C * z)) / len);
        }
        break;
    }
    case Kind::Ellipsoid:
        nx = (x - s.C[0]) / (s.R[0] * s.R[0]);
        ny = (y - s.C[1]) / (s.R[1] * s.R[1]);
        nz = (z - s.C[2]) / (s.R[2] * s.R[2]);
        break;
    case Kind::Frustum:
        if (h.Plane == 0) {
            nx = 0, ny = 0, nz = 1;
            const double r = s.R[1] - std::hypot(x - s.C[0], y - s.C[1]);
            sp.Edge = std::max(0.0, r);
        } else {
            const double k = (s.R[1] - s.R[0]) / (s.Z1 - s.Z0);
            const double r = s.R[0] + k * (z - s.Z0);
            nx = x - s.C[0], ny = y - s.C[1], nz = -r * k;
            sp.Edge = std::min(s.Z1 - z, z - s.Z0);
        }
        break;
    }
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len > 0)
        nx /= len, ny /= len, nz /= len;
    else
        nx = 0, ny = 0, nz = 1;
    sp.NX = nx, sp.NY = ny, sp.NZ = nz;
    sp.Light = LightShade(nx, ny, nz);
    return sp;
}

void ChipScene::Render(TBMP256& chip, double scale, int level, double wMin, double wMax) const {
    const int w = chip.Width(), h = chip.Height();
    // Hits for a one-pixel margin too, so that outlines know what lies beyond the chip.
    const int gw = w + 2, gh = h + 2;
    std::vector<Hit> hits(size_t(gw) * size_t(gh));
    std::vector<double> origin(hits.size() * 2);
    for (int gy = 0; gy < gh; ++gy) {
        for (int gx = 0; gx < gw; ++gx) {
            const double X = (gx - 1 + 0.5) / scale, Y = (gy - 1 + 0.5) / scale;
            const double a = (X - 32) / 32, b = Y / 16 - 1 - level;
            const double ox = (a + b) / 2, oy = (b - a) / 2;
            const size_t i = size_t(gy) * size_t(gw) + size_t(gx);
            origin[2 * i] = ox;
            origin[2 * i + 1] = oy;
            hits[i] = Trace(ox, oy);
        }
    }
    for (int py = 0; py < h; ++py) {
        uint8_t* row = chip.Row(py);
        for (int px = 0; px < w; ++px) {
            const size_t i = size_t(py + 1) * size_t(gw) + size_t(px + 1);
            const Hit& hit = hits[i];
            if (hit.Solid < 0) continue;
            const double wHit = 2 * hit.T;
            if (wHit < wMin || wHit >= wMax) continue;
            const Solid& s = Solids[size_t(hit.Solid)];
            const SurfacePoint sp = Surface(s, hit, origin[2 * i], origin[2 * i + 1]);
            const Paint paint = s.Shade(sp);
            bool edge = false;
            if (s.Outline) {
                const size_t nb[4] = {i - 1, i + 1, i - size_t(gw), i + size_t(gw)};
                for (size_t n : nb) {
                    const Hit& o = hits[n];
                    if (o.Solid < 0 ||
                        (Solids[size_t(o.Solid)].Group != s.Group && o.T < hit.T - 0.06)) {
                        edge = true;
                        break;
                    }
                }
            }
            if (paint.Fixed >= 0) {
                row[px] = edge ? SingleIndex(Single::Black) : uint8_t(paint.Fixed);
                continue;
            }
            const double shade = paint.Unlit ? paint.Delta : sp.Light + paint.Delta;
            int si = int(std::lround(shade));
            if (edge) si = std::min(si - 4, 2);
            row[px] = RampIndex(paint.Colour, si);
        }
    }
}

} // namespace quarvel
