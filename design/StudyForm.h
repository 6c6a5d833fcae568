#pragma once
// The first-order reliability method: the Hasofer-Lind index found by the
// Rackwitz-Fiessler iteration in the standard normal space of the
// parameters, with finite-difference gradients of the limit state. It
// reaches probabilities far too small for sampling, at the price of taking
// the limit state as flat at its design point.
//
// The limit state is g = limit - output (its magnitude with `magnitude`):
// the wall fails where g < 0. The parameters are mapped from independent
// standard normals u through the Gaussian copula: z = L u (L the Cholesky
// factor of the correlation), x_i = F_i^-1(Phi(z_i)). The importance
// factors alpha_i^2 (summing to 1) are those of the independent u_i; with
// correlation u_i is parameter i less what it shares with the parameters
// before it.
//
// Thread safety: Form may run on any thread; it starts its own.
//
// Cancelling: options.control.stop is looked at between analyses; once set,
// no further analysis starts and Form returns with `interrupted` set and no
// index (beta and the probability NaN, no design point): an index of an
// iteration cut short is not a result. Its progress callback is given the
// analyses done after each block of 2n + 1 (the total is not known ahead:
// it depends on how soon the iteration converges).

#include <optional>
#include <string>
#include <vector>

#include "StudyRun.h"
#include "StudySampling.h"

namespace terraq::design {

struct FormOptions {
  int threads = 1;
  double step = 0.02;  // central differences, in standard deviations of u
  int maxIterations = 50;
  double tolerance = 1e-7;          // on the change of the design point in u
  std::vector<double> correlation;  // as SamplingOptions::correlation
  StudyControl control;             // cancel and progress
};

struct FormResult {
  bool converged = false;
  bool interrupted = false;  // cancelled: no index, see above
  int iterations = 0;
  size_t evaluations = 0;
  double beta = 0;                   // the reliability index, negative when the mean point fails
  double probability = 0;            // Phi(-beta)
  std::vector<double> designPoint;   // the parameters' values there
  std::vector<double> designPointU;  // in standard normal space
  std::vector<double> importance;    // alpha_i^2
  std::vector<std::string> notes;    // truncations
  std::optional<std::string> error;
};

// `limitState` may not be a "not held" one: it has no gradient.
FormResult Form(const ModelFactory& model, std::vector<RandomParameter> parameters,
                const std::vector<std::pair<double, double>>& bounds, const LimitState& limitState,
                const FormOptions& options);

}  // namespace terraq::design
