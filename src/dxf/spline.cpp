// B-spline knots, basis, evaluation, sampling and control-point fitting.
#include "dxf/spline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kerbon {

int usableSplineOrder(int count, int order)
{
    return std::clamp(std::min(order, count), 1, kMaxSplineOrder);
}

void BuildSplineKnots(std::vector<double>& u, int n, int t)
{
    u.resize(size_t(std::max(n + t + 1, 0)));
    for (int j = 0; j <= n + t; ++j) {
        if (j < t)
            u[size_t(j)] = 0;
        else if (j <= n)
            u[size_t(j)] = j - t + 1;
        else
            u[size_t(j)] = n - t + 2;
    }
}

double SplineBasis(int k, int t, std::span<const double> u, double v)
{
    if (t <= 1)
        return (u[size_t(k)] <= v && v < u[size_t(k) + 1]) ? 1.0 : 0.0;
    const double a = u[size_t(k + t - 1)] - u[size_t(k)];
    const double b = u[size_t(k + t)] - u[size_t(k + 1)];
    if (a == 0 && b == 0)
        return 0;
    if (a == 0)
        return (u[size_t(k + t)] - v) / b * SplineBasis(k + 1, t - 1, u, v);
    if (b == 0)
        return (v - u[size_t(k)]) / a * SplineBasis(k, t - 1, u, v);
    return (v - u[size_t(k)]) / a * SplineBasis(k, t - 1, u, v) +
           (u[size_t(k + t)] - v) / b * SplineBasis(k + 1, t - 1, u, v);
}

namespace {

// The running sums of a curve point: the weighted points and, for a rational curve, the
// weights. Both evaluations add their terms through this one record, so they give the
// same doubles.
struct PointSum {
    SplinePoint s;
    double weight = 0;
    void add(const SplinePoint& p, double N, std::span<const double> w, int k)
    {
        if (!w.empty()) {
            N = w[size_t(k)] * N;
            weight = weight + N;
        }
        s.x = s.x + p.x * N;
        s.y = s.y + p.y * N;
        s.z = s.z + p.z * N;
    }
    SplinePoint result(std::span<const double> w) const
    {
        if (w.empty() || !(weight > 0))
            return s;
        return {s.x / weight, s.y / weight, s.z / weight};
    }
};

}  // namespace

SplinePoint EvalSplinePoint(std::span<const double> u, int n, int t, double v,
                            std::span<const SplinePoint> P, std::span<const double> w)
{
    PointSum sum;
    for (int k = 0; k <= n; ++k)
        sum.add(P[size_t(k)], SplineBasis(k, t, u, v), w, k);
    return sum.result(w);
}

bool usableWeights(std::span<const double> w, int n)
{
    if (n < 0 || w.size() != size_t(n) + 1)
        return false;
    for (const double x : w)
        if (!std::isfinite(x) || !(x > 0))
            return false;
    return true;
}

bool usableKnots(std::span<const double> u, int n, int t)
{
    if (n < 0 || t < 1 || u.size() != size_t(n + t + 1))
        return false;
    for (size_t j = 0; j < u.size(); ++j) {
        if (!std::isfinite(u[j]) || (j > 0 && u[j] < u[j - 1]))
            return false;
    }
    return u[size_t(t - 1)] < u[size_t(n + 1)];
}

namespace {

// The point at v for non-decreasing knots. Only the basis functions of the knot span
// holding v can be non-zero; they are built level by level with the very expressions of
// SplineBasis, so the sum equals EvalSplinePoint's (whose other terms add exact zeros).
SplinePoint evalInSpan(std::span<const double> u, int n, int t, double v,
                       std::span<const SplinePoint> P, std::span<const double> w)
{
    const int last = n + t;  // highest knot index
    const auto it = std::upper_bound(u.begin(), u.begin() + last + 1, v);
    const int j = int(it - u.begin()) - 1;  // u[j] <= v < u[j + 1]
    if (j < 0 || j >= last)
        return {};
    double B[kMaxSplineOrder + 1];  // B[i] = basis of index base + i at the current level
    const int base = j - t + 1;
    std::fill(B, B + t + 1, 0.0);
    B[t - 1] = 1;
    for (int s = 2; s <= t; ++s) {
        // Below index t - s both inputs are zero at this level: those entries stay zero.
        for (int i = t - s; i < t; ++i) {
            const int k = base + i;
            if (k < 0 || k + s > last) {
                B[i] = 0;
                continue;
            }
            const double a = u[size_t(k + s - 1)] - u[size_t(k)];
            const double b = u[size_t(k + s)] - u[size_t(k + 1)];
            if (a == 0 && b == 0)
                B[i] = 0;
            else if (a == 0)
                B[i] = (u[size_t(k + s)] - v) / b * B[i + 1];
            else if (b == 0)
                B[i] = (v - u[size_t(k)]) / a * B[i];
            else
                B[i] = (v - u[size_t(k)]) / a * B[i] + (u[size_t(k + s)] - v) / b * B[i + 1];
        }
    }
    PointSum sum;
    for (int k = std::max(base, 0); k <= std::min(j, n); ++k)
        sum.add(P[size_t(k)], B[k - base], w, k);
    return sum.result(w);
}

}  // namespace

void SampleSpline(int n, int t, std::span<const SplinePoint> P, int res,
                  std::span<const double> u, std::vector<SplinePoint>& out,
                  std::span<const double> w)
{
    if (n < 0 || res <= 0 || P.size() < size_t(n) + 1) {
        out.clear();
        return;
    }
    out.resize(size_t(res));
    std::vector<double> own;
    const int order = usableSplineOrder(n + 1, t);
    if (order != t || !usableKnots(u, n, t)) {
        // Too few points for the order, or knots that cannot carry the curve: the
        // clamped knots of the usable order follow the control points instead.
        BuildSplineKnots(own, n, order);
        u = own;
        t = order;
    }
    if (!usableWeights(w, n))
        w = {};
    const double end = u[size_t(n + 1)];
    // Clamped at the end the curve ends in P[n]; otherwise (a periodic spline) it ends
    // inside the knots and its point there is evaluated.
    out[size_t(res) - 1] = end == u[size_t(n + t)] ? P[size_t(n)] : evalInSpan(u, n, t, end, P, w);
    if (res == 1)
        return;
    const double start = u[size_t(t - 1)];
    const double step = (end - start) / (res - 1);
    double v = start;
    for (int i = 0; i + 1 < res; ++i) {
        out[size_t(i)] = evalInSpan(u, n, t, v, P, w);
        v = v + step;
    }
}

std::vector<SplinePoint> FitSplineControlPoints(std::span<const SplinePoint> Q,
                                                const std::vector<bool>& fixed, int iterations,
                                                Random& rnd)
{
    const int N = int(Q.size());
    std::vector<SplinePoint> P(Q.begin(), Q.end());
    if (N < 3)
        return P;  // only the two fixed ends
    const int n = N - 1;
    const int t = usableSplineOrder(N, 4);
    std::vector<double> u;
    BuildSplineKnots(u, n, t);
    std::vector<char> isFixed(size_t(N), 0);
    for (int i = 0; i < N; ++i)
        isFixed[size_t(i)] = (i == 0 || i == n || (size_t(i) < fixed.size() && fixed[size_t(i)]));

    double minx = Q[0].x, maxx = Q[0].x, miny = Q[0].y, maxy = Q[0].y;
    for (const SplinePoint& q : Q) {
        minx = std::min(minx, q.x);
        maxx = std::max(maxx, q.x);
        miny = std::min(miny, q.y);
        maxy = std::max(maxy, q.y);
    }
    const double wx = maxx - minx, wy = maxy - miny;
    // Range of R(): wx * 1000 rounded (halves to even), kept inside the integers.
    const auto range = [](double w) -> uint64_t {
        const double m = std::nearbyint(w * 1000);
        if (!(m > 0))
            return 0;
        return m >= 0x1p63 ? uint64_t(1) << 63 : uint64_t(m);
    };
    const uint64_t mx = range(wx), my = range(wy);
    const int res = N * 100;

    std::vector<SplinePoint> samples, best = P;
    double bestErr = 0;
    for (int it = 0; it < iterations; ++it) {
        for (int i = 1; i < n; ++i) {
            if (isFixed[size_t(i)])
                continue;
            P[size_t(i)].x = Q[size_t(i)].x + double(rnd.below(mx)) / 500 - wx;
            P[size_t(i)].y = Q[size_t(i)].y + double(rnd.below(my)) / 500 - wy;
            P[size_t(i)].z = Q[size_t(i)].z;
        }
        SampleSpline(n, t, P, res, u, samples);
        // Sum of squared smallest distances of the inner targets; a try that cannot beat
        // the best one any more (the sum only grows) is abandoned early.
        double err = 0;
        bool worse = false;
        for (int q = 1; q < n && !worse; ++q) {
            double dmin = std::numeric_limits<double>::infinity();
            for (const SplinePoint& s : samples) {
                const double dx = s.x - Q[size_t(q)].x, dy = s.y - Q[size_t(q)].y;
                dmin = std::min(dmin, dx * dx + dy * dy);
            }
            const double d = std::sqrt(dmin);
            err += d * d;
            worse = it > 0 && !(err < bestErr);
        }
        if (it == 0 || (!worse && err < bestErr)) {
            bestErr = err;
            best = P;
        }
    }
    P = best;
    for (int pass = 0; pass < 10; ++pass) {
        SampleSpline(n, t, P, res, u, samples);
        for (int i = 1; i < n; ++i) {
            if (isFixed[size_t(i)])
                continue;
            const SplinePoint& s = samples[size_t((int64_t(i) * (res - 1)) / n)];
            P[size_t(i)].x += Q[size_t(i)].x - s.x;
            P[size_t(i)].y += Q[size_t(i)].y - s.y;
        }
    }
    return P;
}

}  // namespace kerbon
