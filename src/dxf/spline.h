// Spline mathematics: non-rational B-splines of order t (degree t - 1) evaluated by the
// Cox-de Boor recursion, sampled into polylines, and control points fitted to target points.
// Used by the parser (SPLINE entities), the spline preview and the spline writer.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dxf/Random.h"

namespace kerbon {

struct SplinePoint {
    double x = 0, y = 0, z = 0;
};

// Highest order the spline code uses. The recursion costs grow with the order; real
// drawings stay far below this.
constexpr int kMaxSplineOrder = 64;

// The order actually used for `count` control points and the wanted order: never more than
// the points allow (n + 1 points carry at most order n + 1, so two points give a straight
// line), never less than 1, never more than kMaxSplineOrder.
int usableSplineOrder(int count, int order);

// Clamped uniform knot vector u[0 ... n + t] for n + 1 control points and order t:
// t zeros, then 1, 2, ..., then n - t + 2 repeated t times. Expects t <= n + 1.
void BuildSplineKnots(std::vector<double>& u, int n, int t);

// Value of basis function k of order t at parameter v (the plain recursion; its cost
// doubles with every order). Knot equalities are exact comparisons.
double SplineBasis(int k, int t, std::span<const double> u, double v);

// Point of the curve at v: the sum over k = 0 ... n of P[k] * SplineBasis(k, t, u, v).
// With one weight per point (w[k], a rational curve such as a circle stored as a spline):
// the sum of P[k] * w[k] * N_k divided by the sum of w[k] * N_k.
SplinePoint EvalSplinePoint(std::span<const double> u, int n, int t, double v,
                            std::span<const SplinePoint> P, std::span<const double> w = {});

// `res` points along the curve into `out` (resized to res). The parameter starts at the
// start of the curve's domain u[t - 1] and grows by (u[n + 1] - u[t - 1]) / (res - 1) after
// each sample, by repeated addition. The last sample is the end of the domain: P[n] itself
// when the knots end clamped (u[n + 1] = u[n + t], where the curve ends in P[n]), else the
// curve's point at u[n + 1] (a periodic spline). For a clamped knot vector starting at 0
// this runs from 0 to the last knot. When t exceeds the points (t > n + 1) the usable
// order and its clamped knots are taken instead of `u`. Weights `w` (see EvalSplinePoint)
// are used when there is one finite positive weight per point, else the curve is the
// plain one. Gives exactly the doubles of EvalSplinePoint, evaluating only the basis
// functions that can be non-zero.
void SampleSpline(int n, int t, std::span<const SplinePoint> P, int res,
                  std::span<const double> u, std::vector<SplinePoint>& out,
                  std::span<const double> w = {});

// Whether a knot vector read from a file can be sampled: n + t + 1 finite values, never
// decreasing, with a domain u[t - 1] < u[n + 1].
bool usableKnots(std::span<const double> u, int n, int t);

// Whether weights read from a file make the curve rational: one finite positive weight
// for each of the n + 1 points.
bool usableWeights(std::span<const double> w, int n);

// Control points whose cubic curve passes near the targets Q: a random search (`iterations`
// tries, each free point drawn uniformly within the targets' box size around its target,
// the try with the smallest sum of squared distances of the inner targets to the sampled
// curve kept) followed by 10 correction passes. The first and last points and those marked
// in `fixed` (may be shorter than Q) are copied from Q unchanged.
std::vector<SplinePoint> FitSplineControlPoints(std::span<const SplinePoint> Q,
                                                const std::vector<bool>& fixed, int iterations,
                                                Random& rnd);

}  // namespace kerbon
