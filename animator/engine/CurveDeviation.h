// Rotation error of a link against the rotation a target curve prescribes: the angle between
// their unit vectors, read from the 2-D cross product.
#pragma once

namespace quillon {

// |arcsin(u × w)| for u at angle and w at target, 0..π/2. The cross product of two unit vectors
// can round just past ±1, so the arcsine's argument is clamped to [−1, 1].
double RotationError(double angle, double target);

// |w − u|², the factor (less one) by which a step's rotation error enters the fitting product.
double RotationDistance2(double angle, double target);

}  // namespace quillon
