#pragma once
// The p-y criteria of the seven soil models as their authors published them,
// written out here from the papers and independent of the engine, so that the
// verification chapter compares the engine's generated curves against them.
//
// Every function takes and returns one consistent set of units: lengths
// (b, z, y) in L, cohesion and strengths in F/L², unit weights and subgrade
// moduli in F/L³, and returns the soil resistance p in F/L (force per unit
// length of wall). Angles are in degrees. z is the depth below the soil
// surface on the side of the wall the curve belongs to.

namespace terraq::verification {

// Matlock (1970), soft clay, static loading.
struct SoftClayCriterion {
  double c, gamma, e50, b;
  double pu(double z) const;
  double y50() const;
  double p(double z, double y) const;
};

// Reese, Cox & Koop (1975), stiff clay below the water table, static loading;
// ca is the average cohesion down to z, k the initial subgrade modulus.
struct StiffClayBelowWaterCriterion {
  double c, ca, gamma, e50, b, k;
  double pc(double z) const;
  double A(double z) const;  // the static factor As against z/b
  double y50() const;
  double p(double z, double y) const;
};

// Welch & Reese (1972), stiff clay above the water table, static loading.
struct StiffClayAboveWaterCriterion {
  double c, ca, gamma, e50, b;
  double pu(double z) const;
  double y50() const;
  double p(double z, double y) const;
};

// Reese, Cox & Koop (1974), sand, static loading; with a cohesion c > 0 the
// c-φ soil: Matlock's cohesive resistance added to the frictional one
// (pu = A ps + pc, pm = B ps + pc) along the same four-part curve.
struct SandCriterion {
  double phiDegrees, c, gamma, b, k;
  double ps(double z) const;  // the lesser of the wedge and flow resistances
  double pu(double z) const;
  double pm(double z) const;
  double ym() const { return b / 60; }
  double yu() const { return 3 * b / 80; }
  double p(double z, double y) const;
};

// Strong rock of uniaxial compressive strength qu (Reese 1997): z enters only
// the small residual resistance of the fractured rock.
struct StrongRockCriterion {
  double qu, gamma, b;
  double yu() const;  // where the second line reaches s b
  double p(double z, double y) const;
};

// Reese (1997), weak rock; xr is the depth below the rock surface, qur the
// mean strength down to it, krm the strain constant, em the rock-mass
// modulus, rqd in per cent.
struct WeakRockCriterion {
  double qur, krm, em, rqd, b;
  double alpha() const;
  double pur(double xr) const;
  double kir(double xr) const;
  double yrm() const { return krm * b; }
  double p(double xr, double y) const;
};

}  // namespace terraq::verification
