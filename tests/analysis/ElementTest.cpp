// Plate elements against independently computed reference values, plus the properties that
// any correct plate element must have (symmetry, rigid-body modes, patch test).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/CubicElement.h"
#include "analysis/DktElement.h"
#include "analysis/TDMatrix.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {
namespace {

constexpr double kE = 210000, kNu = 0.3;

// Reference K9 (12 significant digits) of the analysis element.
const double kDktT1[9][9] = {
    {1.93269230769e+05, 3.48557692308e+04, -3.48557692308e+04, -9.66346153846e+04,
     1.34615384615e+04, -4.83173076923e+04, -9.66346153846e+04, 4.83173076923e+04,
     -1.34615384615e+04},
    {3.48557692308e+04, 2.57211538462e+04, -4.20673076923e+03, 3.72596153846e+03, 3.18509615385e+03,
     4.74759615385e+03, -3.85817307692e+04, 9.67548076923e+03, 3.18509615385e+03},
    {-3.48557692308e+04, -4.20673076923e+03, 2.57211538462e+04, 3.85817307692e+04,
     3.18509615385e+03, 9.67548076923e+03, -3.72596153846e+03, 4.74759615385e+03,
     3.18509615385e+03},
    {-9.66346153846e+04, 3.72596153846e+03, 3.85817307692e+04, 1.06009615385e+05, 7.69230769231e+03,
     4.62740384615e+04, -9.37500000000e+03, -2.04326923077e+03, 2.11538461538e+04},
    {1.34615384615e+04, 3.18509615385e+03, 3.18509615385e+03, 7.69230769231e+03, 1.07572115385e+04,
     4.80769230769e+02, -2.11538461538e+04, 7.21153846154e+03, 4.02644230769e+03},
    {-4.83173076923e+04, 4.74759615385e+03, 9.67548076923e+03, 4.62740384615e+04, 4.80769230769e+02,
     2.93870192308e+04, 2.04326923077e+03, -7.27163461538e+03, 7.21153846154e+03},
    {-9.66346153846e+04, -3.85817307692e+04, -3.72596153846e+03, -9.37500000000e+03,
     -2.11538461538e+04, 2.04326923077e+03, 1.06009615385e+05, -4.62740384615e+04,
     -7.69230769231e+03},
    {4.83173076923e+04, 9.67548076923e+03, 4.74759615385e+03, -2.04326923077e+03, 7.21153846154e+03,
     -7.27163461538e+03, -4.62740384615e+04, 2.93870192308e+04, 4.80769230769e+02},
    {-1.34615384615e+04, 3.18509615385e+03, 3.18509615385e+03, 2.11538461538e+04, 4.02644230769e+03,
     7.21153846154e+03, -7.69230769231e+03, 4.80769230769e+02, 1.07572115385e+04}};
const double kDktT2[9][9] = {
    {2.41742683905e+04, 1.69218746009e+04, -1.48685656929e+04, -4.28933170555e+03,
     8.58730174136e+03, -7.28087905520e+03, -1.98849366849e+04, 1.64053628804e+04,
     -1.06034870535e+04},
    {1.69218746009e+04, 2.54788916799e+04, -8.55208519567e+03, 4.96072320667e+03, 8.35761734613e+03,
     5.38032597424e+03, -2.18825978076e+04, 7.44832498582e+03, -3.82866896617e+03},
    {-1.48685656929e+04, -8.55208519567e+03, 1.82450617315e+04, 9.38451730884e+03,
     -3.88012101120e+03, 7.28730799879e+03, 5.48404838405e+03, -3.22814921565e+03,
     8.10523058023e+03},
    {-4.28933170555e+03, 4.96072320667e+03, 9.38451730884e+03, 1.78466327828e+04, 6.81456180051e+03,
     1.71443131886e+04, -1.35573010773e+04, 6.41600075600e+03, 1.34537667738e+04},
    {8.58730174136e+03, 8.35761734613e+03, -3.88012101120e+03, 6.81456180051e+03, 1.46943674879e+04,
     6.31342652235e+03, -1.54018635419e+04, 4.34446134946e+03, 2.60851634852e+03},
    {-7.28087905520e+03, 5.38032597424e+03, 7.28730799879e+03, 1.71443131886e+04, 6.31342652235e+03,
     2.37151486716e+04, -9.86343413343e+03, -5.39040824041e+02, 1.05670487620e+04},
    {-1.98849366849e+04, -2.18825978076e+04, 5.48404838405e+03, -1.35573010773e+04,
     -1.54018635419e+04, -9.86343413343e+03, 3.34422377622e+04, -2.28213636364e+04,
     -2.85027972028e+03},
    {1.64053628804e+04, 7.44832498582e+03, -3.22814921565e+03, 6.41600075600e+03, 4.34446134946e+03,
     -5.39040824041e+02, -2.28213636364e+04, 3.06419405594e+04, 1.93828671329e+02},
    {-1.06034870535e+04, -3.82866896617e+03, 8.10523058023e+03, 1.34537667738e+04,
     2.60851634852e+03, 1.05670487620e+04, -2.85027972028e+03, 1.93828671329e+02,
     1.88387412587e+04}};

// Reference K9 of the older cubic element.
const double kCubicRight[9][9] = {{2.750582750583e+05, 7.564102564103e+04, -7.564102564103e+04,
                                   -1.375291375291e+05, 2.719502719503e+03, -5.916860916861e+04,
                                   -1.375291375291e+05, 5.916860916861e+04, -2.719502719503e+03},
                                  {7.564102564103e+04, 5.224358974359e+04, 2.564102564103e+03,
                                   1.410256410256e+04, 7.158119658120e+03, 3.632478632479e+03,
                                   -8.974358974359e+04, 3.034188034188e+04, 7.905982905983e+03},
                                  {-7.564102564103e+04, 2.564102564103e+03, 5.224358974359e+04,
                                   8.974358974359e+04, 7.905982905983e+03, 3.034188034188e+04,
                                   -1.410256410256e+04, 3.632478632479e+03, 7.158119658120e+03},
                                  {-1.375291375291e+05, 1.410256410256e+04, 8.974358974359e+04,
                                   1.841491841492e+05, 1.787101787102e+04, 7.381507381507e+04,
                                   -4.662004662005e+04, 1.464646464646e+04, 2.059052059052e+04},
                                  {2.719502719503e+03, 7.158119658120e+03, 7.905982905983e+03,
                                   1.787101787102e+04, 8.213545713546e+03, 5.037555037555e+03,
                                   -2.059052059052e+04, 5.218855218855e+03, 4.927479927480e+03},
                                  {-5.916860916861e+04, 3.632478632479e+03, 3.034188034188e+04,
                                   7.381507381507e+04, 5.037555037555e+03, 3.825433825434e+04,
                                   -1.464646464646e+04, 5.976430976431e+03, 5.218855218855e+03},
                                  {-1.375291375291e+05, -8.974358974359e+04, -1.410256410256e+04,
                                   -4.662004662005e+04, -2.059052059052e+04, -1.464646464646e+04,
                                   1.841491841492e+05, -7.381507381507e+04, -1.787101787102e+04},
                                  {5.916860916861e+04, 3.034188034188e+04, 3.632478632479e+03,
                                   1.464646464646e+04, 5.218855218855e+03, 5.976430976431e+03,
                                   -7.381507381507e+04, 3.825433825434e+04, 5.037555037555e+03},
                                  {-2.719502719503e+03, 7.905982905983e+03, 7.158119658120e+03,
                                   2.059052059052e+04, 4.927479927480e+03, 5.218855218855e+03,
                                   -1.787101787102e+04, 5.037555037555e+03, 8.213545713546e+03}};
const double kCubicEquilateral[9][9] = {
    {1.972483110014e+05, 3.904137354558e+04, -6.416826758304e+04, -8.805436243902e+04,
     1.476113950832e+04, -5.674845421634e+04, -1.091939485624e+05, 4.085203700100e+04,
     -2.180646857970e+04},
    {3.904137354558e+04, 2.153600047469e+04, -4.584901835765e+03, 1.475051081421e+04,
     1.028107485449e+04, -3.326293537725e+03, -5.379188435978e+04, 1.481230915336e+04,
     -4.269633042676e+03},
    {-6.416826758304e+04, -4.584901835765e+03, 3.429292531444e+04, 5.670236940173e+04,
     3.310266961670e+03, 2.029776796974e+04, 7.465898181311e+03, -5.197163631333e+03,
     5.849538045484e+03},
    {-8.805436243902e+04, 1.475051081421e+04, 5.670236940173e+04, 1.974650587453e+05,
     3.913967314759e+04, 6.418997041421e+04, -1.094106963063e+05, 4.095225342982e+04,
     2.179537448933e+04},
    {1.476113950832e+04, 1.028107485449e+04, 3.310266961670e+03, 3.913967314759e+04,
     2.159540605142e+04, 4.582385138462e+03, -5.390081265590e+04, 1.484732784641e+04,
     4.261145990173e+03},
    {-5.674845421634e+04, -3.326293537725e+03, 2.029776796974e+04, 6.418997041421e+04,
     4.582385138462e+03, 3.431216546572e+04, -7.441516197872e+03, 5.194571432421e+03,
     5.854382086773e+03},
    {-1.091939485624e+05, -5.379188435978e+04, 7.465898181311e+03, -1.094106963063e+05,
     -5.390081265590e+04, -7.441516197872e+03, 2.186046448687e+05, -8.180429043082e+04,
     1.109409037467e+01},
    {4.085203700100e+04, 1.481230915336e+04, -5.197163631333e+03, 4.095225342982e+04,
     1.484732784641e+04, 5.194571432421e+03, -8.180429043082e+04, 4.125224415515e+04,
     -1.129836954242e+00},
    {-2.180646857970e+04, -4.269633042676e+03, 5.849538045484e+03, 2.179537448933e+04,
     4.261145990173e+03, 5.854382086773e+03, 1.109409037467e+01, -1.129836954242e+00,
     1.009700870258e+04}};
const double kCubicGeneral[9][9] = {{5.188369316108e+04, 2.540641193317e+04, -2.551048690140e+04,
                                     -2.362260981567e+04, 7.498845866018e+03, -2.480783867769e+04,
                                     -2.826108334541e+04, 2.694988879584e+04, -9.159022096364e+03},
                                    {2.540641193317e+04, 2.506509889654e+04, -4.133448228306e+03,
                                     5.835705133743e+03, 7.411487409807e+03, -3.833800237603e+03,
                                     -3.124211706692e+04, 1.771716014054e+04, -2.737525335027e+02},
                                    {-2.551048690140e+04, -4.133448228306e+03, 2.584484776476e+04,
                                     3.013676972718e+04, 1.424137659149e+03, 1.750942102818e+04,
                                     -4.626282825776e+03, -4.494393490614e+03, 8.116147020517e+03},
                                    {-2.362260981567e+04, 5.835705133743e+03, 3.013676972718e+04,
                                     6.737436230176e+04, 1.566860794424e+04, 4.202457466781e+04,
                                     -4.375175248608e+04, 1.918648499748e+04, 2.286145625653e+04},
                                    {7.498845866018e+03, 7.411487409807e+03, 1.424137659149e+03,
                                     1.566860794424e+04, 1.488932132283e+04, 4.550223670100e+03,
                                     -2.316745381026e+04, 9.249558772684e+03, 8.328660684229e+03},
                                    {-2.480783867769e+04, -3.833800237603e+03, 1.750942102818e+04,
                                     4.202457466781e+04, 4.550223670100e+03, 3.852855590794e+04,
                                     -1.721673599012e+04, 7.539740416800e+03, 9.276215871865e+03},
                                    {-2.826108334541e+04, -3.124211706692e+04, -4.626282825776e+03,
                                     -4.375175248608e+04, -2.316745381026e+04, -1.721673599012e+04,
                                     7.201283583149e+04, -4.613637379332e+04, -1.370243416016e+04},
                                    {2.694988879584e+04, 1.771716014054e+04, -4.494393490614e+03,
                                     1.918648499748e+04, 9.249558772684e+03, 7.539740416800e+03,
                                     -4.613637379332e+04, 4.187187403667e+04, 3.808501793285e+03},
                                    {-9.159022096364e+03, -2.737525335027e+02, 8.116147020517e+03,
                                     2.286145625653e+04, 8.328660684229e+03, 9.276215871865e+03,
                                     -1.370243416016e+04, 3.808501793285e+03, 1.553679787327e+04}};

// Every entry within 1e-10 of the largest magnitude (the references carry 12-13 digits).
void ExpectK9(const PlateElement& el, const double ref[9][9]) {
  double scale = 0;
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j) scale = std::max(scale, std::fabs(ref[i][j]));
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j)
      EXPECT_NEAR(static_cast<double>(el.StiffnessAt(i, j)), ref[i][j], 1e-10 * scale)
          << i << "," << j;
}

struct Tri {
  double x[3], y[3];
};

std::vector<double> Multiply(const PlateElement& el, const std::vector<double>& u) {
  std::vector<double> f(9, 0.0);
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j) f[i] += static_cast<double>(el.StiffnessAt(i, j)) * u[j];
  return f;
}

TEST(DktElement, MatchesReferenceStiffness) {
  DktElement el;
  ASSERT_EQ(el.BuildStiffness(0, 0, 1, 0, 0, 1, kE, kE, kNu, 1), ElementCode::Ok);
  ExpectK9(el, kDktT1);
  ASSERT_EQ(el.BuildStiffness(0, 0, 3, 0.5, 1, 2, kE, kE, kNu, 1), ElementCode::Ok);
  ExpectK9(el, kDktT2);
  // Side coefficients of T2, sides 2-3, 3-1, 1-2 (1e-11 absolute, values of order 0.1).
  const double a[3] = {-0.32, -0.2, 3.24324324324e-01}, b[3] = {-0.36, 0.3, 1.21621621622e-01},
               c[3] = {-0.02, -0.35, 2.29729729730e-01}, d[3] = {0.24, -0.4, 5.40540540541e-02},
               e[3] = {-0.23, 0.1, -4.79729729730e-01};
  for (int s = 0; s < 3; ++s) {
    EXPECT_NEAR(static_cast<double>(el.SideA(s)), a[s], 1e-11);
    EXPECT_NEAR(static_cast<double>(el.SideB(s)), b[s], 1e-11);
    EXPECT_NEAR(static_cast<double>(el.SideC(s)), c[s], 1e-11);
    EXPECT_NEAR(static_cast<double>(el.SideD(s)), d[s], 1e-11);
    EXPECT_NEAR(static_cast<double>(el.SideE(s)), e[s], 1e-11);
  }
  // Curvature matrix of T1 at the first integration point (exact values).
  ASSERT_EQ(el.Prepare(0, 0, 1, 0, 0, 1), ElementCode::Ok);
  long double bm[3][9];
  el.CurvatureMatrix(1.0L / 6, 1.0L / 6, bm);
  const double ref[3][9] = {{3, 0, -2.5, -3.5, -0.25, -0.75, 0.5, -0.25, -0.25},
                            {3, 2.5, 0, 0.5, 0.25, 0.25, -3.5, 0.75, 0.25},
                            {-2, 0.5, -0.5, 1, -1, 0.5, 1, -0.5, 1}};
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(static_cast<double>(bm[r][k]), ref[r][k], 1e-15);
}

TEST(DktElement, SymmetricWithRigidBodyNullSpaceUnderAnyCornerOrder) {
  const Tri t = {{0.3, 2.1, 0.9}, {0.2, 0.7, 1.9}};
  const int orders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
  DktElement ref;
  ASSERT_EQ(ref.BuildStiffness(t.x[0], t.y[0], t.x[1], t.y[1], t.x[2], t.y[2], kE, kE, kNu, 1),
            ElementCode::Ok);
  for (const auto& o : orders) {
    DktElement el;
    ASSERT_EQ(el.BuildStiffness(t.x[o[0]], t.y[o[0]], t.x[o[1]], t.y[o[1]], t.x[o[2]], t.y[o[2]],
                                kE, kE, kNu, 1),
              ElementCode::Ok);
    double scale = 0;
    for (int i = 0; i < 9; ++i)
      for (int j = 0; j < 9; ++j)
        scale = std::max(scale, std::fabs(static_cast<double>(el.StiffnessAt(i, j))));
    for (int i = 0; i < 9; ++i) {
      for (int j = 0; j < 9; ++j) {
        EXPECT_EQ(el.StiffnessAt(i, j), el.StiffnessAt(j, i));
        // Same matrix as the reference order, up to the corner permutation (1e-12 relative).
        const double r =
            static_cast<double>(ref.StiffnessAt(3 * o[i / 3] + i % 3, 3 * o[j / 3] + j % 3));
        EXPECT_NEAR(static_cast<double>(el.StiffnessAt(i, j)), r, 1e-12 * scale);
      }
    }
    // w = 1, w = x, w = y: (w, dw/dy, -dw/dx) at each corner; forces vanish (1e-11 relative).
    for (int mode = 0; mode < 3; ++mode) {
      std::vector<double> u(9);
      for (int k = 0; k < 3; ++k) {
        const double x = t.x[o[k]], y = t.y[o[k]];
        u[3 * k] = mode == 0 ? 1 : mode == 1 ? x : y;
        u[3 * k + 1] = mode == 2 ? 1 : 0;
        u[3 * k + 2] = mode == 1 ? -1 : 0;
      }
      for (double f : Multiply(el, u)) EXPECT_NEAR(f, 0.0, 1e-11 * scale);
    }
  }
  EXPECT_EQ(ref.StiffnessAt(9, 0), 0.0L);
  EXPECT_EQ(ref.StiffnessAt(0, -1), 0.0L);
}

TEST(DktElement, RecoversReferenceStressesAndCentroidDeflection) {
  struct Case {
    double corners[6];
    double u[9];
    double sx, sy, txy, wc;
  };
  const Case cases[] = {
      {{0.3, 0.2, 2.1, 0.7, 0.9, 1.9},
       {1, 0.1, -0.2, 0.5, 0.3, 0.1, -0.4, 0.2, 0.05},
       -4.32208235076e+04,
       6.08838669859e+04,
       -5.63198797255e+04,
       0.4},
      {{0, 0, 3, 0.5, 1, 2},
       {1, 0.1, -0.2, 0.5, 0.3, 0.1, -0.4, 0.2, 0.05},
       -2.80348894349e+04,
       3.82621621622e+04,
       -3.11836703837e+04,
       4.27777777778e-01},
      {{0, 0, 3, 0.5, 1, 2},
       {1, -0.1, -0.2, 1.8025, -0.11, -0.37, 1.19, 0.08, -0.22},
       -135000.0 / 13,
       -177000.0 / 13,
       21000.0 / 13,
       1499.0 / 1200},
  };
  DktElement el;
  for (const Case& c : cases) {
    double rec[20] = {};
    for (int k = 0; k < 6; ++k) rec[k] = c.corners[k];
    rec[6] = rec[7] = kE;
    rec[8] = kNu;
    rec[9] = 1;
    for (int k = 0; k < 9; ++k) rec[10 + k] = c.u[k];
    ASSERT_EQ(el.RecoverStress(rec), ElementCode::Ok);
    for (int corner = 0; corner < 3; ++corner) {  // 1e-10 relative: references have 12 digits
      EXPECT_NEAR(rec[10 + 3 * corner], c.sx, 1e-10 * std::fabs(c.sx));
      EXPECT_NEAR(rec[11 + 3 * corner], c.sy, 1e-10 * std::fabs(c.sy));
      EXPECT_NEAR(rec[12 + 3 * corner], c.txy, 1e-10 * std::fabs(c.txy));
    }
    EXPECT_NEAR(rec[19], c.wc, 1e-11);
    EXPECT_EQ(rec[0], c.corners[0]);
    EXPECT_EQ(rec[9], 1.0);

    // The same triangle listed clockwise (corners 2 and 3 exchanged) has the same stresses.
    double cw[20] = {};
    for (int k = 0; k < 10; ++k) cw[k] = rec[k];
    const int from[3] = {0, 2, 1};
    for (int k = 0; k < 3; ++k) {
      cw[2 * k] = c.corners[2 * from[k]];
      cw[2 * k + 1] = c.corners[2 * from[k] + 1];
      for (int d = 0; d < 3; ++d) cw[10 + 3 * k + d] = c.u[3 * from[k] + d];
    }
    ASSERT_EQ(el.RecoverStress(cw), ElementCode::Ok);
    EXPECT_NEAR(cw[10], c.sx, 1e-10 * std::fabs(c.sx));
    EXPECT_NEAR(cw[11], c.sy, 1e-10 * std::fabs(c.sy));
    EXPECT_NEAR(cw[12], c.txy, 1e-10 * std::fabs(c.txy));
    EXPECT_NEAR(cw[19], c.wc, 1e-11);
  }
}

TEST(DktElement, DegenerateTriangles) {
  DktElement el;
  EXPECT_EQ(el.BuildStiffness(0, 0, 1, 0, 2, 0, kE, kE, kNu, 1),
            ElementCode::Degenerate);  // collinear
  EXPECT_EQ(el.StiffnessAt(0, 0), 0.0L);
  EXPECT_EQ(el.BuildStiffness(0, 0, 0, 0, 0, 1, kE, kE, kNu, 1),
            ElementCode::Degenerate);  // repeated corner
  double rec[20] = {0, 0, 1, 1, 2, 2, kE, kE, kNu, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 7};
  EXPECT_EQ(el.RecoverStress(rec), ElementCode::Degenerate);
  EXPECT_EQ(rec[10], 0.0);
  EXPECT_EQ(rec[19], 0.0);
  // Small but sound triangles are fine: nothing depends on absolute size.
  EXPECT_EQ(el.BuildStiffness(0, 0, 1e-4, 0, 0, 1e-4, kE, kE, kNu, 1e-5), ElementCode::Ok);
  EXPECT_GT(el.StiffnessAt(0, 0), 0.0L);
}

// Constant curvature on an irregular patch: with the boundary held at the values of a quadratic
// w and no load, the solved interior freedoms are exact and every element carries the exact
// stresses.
TEST(DktElement, PassesConstantCurvaturePatchTest) {
  const double px[] = {0, 2.4, 2.0, 0.1, 0.7, 1.6, 1.1};
  const double py[] = {0, 0.2, 1.9, 1.6, 0.5, 0.6, 1.3};
  const int tris[][3] = {{0, 1, 4}, {1, 5, 4}, {1, 2, 5}, {2, 6, 5},
                         {2, 3, 6}, {3, 4, 6}, {3, 0, 4}, {4, 5, 6}};
  // w = 0.5 (a x^2 + 2 b x y + c y^2) + linear terms.
  const double a = 0.03, b = -0.011, c = 0.017, t = 0.1;
  auto wq = [&](double x, double y) {
    return 0.5 * (a * x * x + 2 * b * x * y + c * y * y) + 0.2 * x - 0.1 * y + 1;
  };
  auto wx = [&](double x, double y) { return a * x + b * y + 0.2; };
  auto wy = [&](double x, double y) { return b * x + c * y - 0.1; };
  PlateMesh patch;
  for (int i = 0; i < 7; ++i) {
    DofRecord d;
    if (i < 4) {  // corners of the patch are held, nodes 4 to 6 are free
      d.code = 111;
      d.displacement[0] = wq(px[i], py[i]);
      d.displacement[1] = wy(px[i], py[i]);
      d.displacement[2] = -wx(px[i], py[i]);
    }
    patch.AddNode(px[i], py[i], d);
  }
  for (const auto& tri : tris) patch.AddTriangle(tri[0], tri[1], tri[2], {kE, kNu, t, 0});
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(patch), SolveCode::Ok) << s.Failure().message;
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  for (int i = 4; i < 7; ++i) {  // 1e-10 absolute, values of order 1
    const int v = s.NewNumberOf(i);
    EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)), wq(px[i], py[i]), 1e-10) << i;
    EXPECT_NEAR(static_cast<double>(s.Displacement(v, 1)), wy(px[i], py[i]), 1e-10) << i;
    EXPECT_NEAR(static_cast<double>(s.Displacement(v, 2)), -wx(px[i], py[i]), 1e-10) << i;
  }
  const double ep = kE / (1 - kNu * kNu);
  const double sx = -(t / 2) * ep * (a + kNu * c), sy = -(t / 2) * ep * (kNu * a + c);
  const double txy = -(t / 2) * ep * (1 - kNu) / 2 * 2 * b;
  for (int e = 0; e < s.ResultTriangleCount(); ++e) {  // 1e-9 relative
    EXPECT_NEAR(s.ElementStress(e, 0), sx, 1e-9 * std::fabs(sx));
    EXPECT_NEAR(s.ElementStress(e, 1), sy, 1e-9 * std::fabs(sy));
    EXPECT_NEAR(s.ElementStress(e, 2), txy, 1e-9 * std::fabs(txy));
  }
}

TEST(TDMatrix, OperationsAndInversion) {
  TDMatrix m(2, 3);
  EXPECT_EQ(m.get(1, 2), 0.0L);
  EXPECT_EQ(m.set(1, 2, 5), MatrixCode::Stored);
  EXPECT_EQ(m.set(2, 0, 5), MatrixCode::Outside);
  EXPECT_EQ(m.set(0, -1, 5), MatrixCode::Outside);
  TDMatrix other(3, 2);
  EXPECT_EQ(m.subtract(other), MatrixCode::ShapeMismatch);
  m.transposeInto(other);
  EXPECT_EQ(other.get(2, 1), 5.0L);
  TDMatrix prod(2, 2);
  EXPECT_EQ(TDMatrix::multiply(m, m, prod), MatrixCode::ShapeMismatch);
  EXPECT_EQ(TDMatrix::multiply(m, other, prod), MatrixCode::Ok);
  EXPECT_EQ(prod.get(1, 1), 25.0L);

  // A zero first pivot is taken later; the result is still the inverse.
  TDMatrix a(3, 3);
  const long double v[3][3] = {{0, 2, 1}, {2, 3, 0}, {1, 0, 4}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a.set(i, j, v[i][j]);
  TDMatrix inv = a;
  ASSERT_EQ(inv.invertInPlace(), MatrixCode::Ok);
  TDMatrix id(3, 3);
  TDMatrix::multiply(a, inv, id);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(static_cast<double>(id.get(i, j)), i == j ? 1.0 : 0.0, 1e-15);
  // No usable diagonal at all.
  TDMatrix z(2, 2);
  z.set(0, 1, 1);
  z.set(1, 0, 1);
  EXPECT_EQ(z.invertInPlace(), MatrixCode::NoPivot);
}

TEST(CubicElement, MatchesReferenceStiffnessIncludingCornerMove) {
  CubicElement el;
  ASSERT_EQ(el.BuildStiffness(0, 0, 1, 0, 0, 1, kE, kE, kNu, 1), ElementCode::Ok);
  EXPECT_EQ(el.CornerMoves(), 0);
  ExpectK9(el, kCubicRight);
  ASSERT_EQ(el.BuildStiffness(0, 0, 1, 0, 0.5, 0.8660254, kE, kE, kNu, 1), ElementCode::Ok);
  EXPECT_EQ(el.CornerMoves(), 1);
  EXPECT_NEAR(el.UsedX3(), 0.500658037005, 1e-11);
  EXPECT_NEAR(el.UsedY3(), 0.866847946256, 1e-11);
  ExpectK9(el, kCubicEquilateral);
  ASSERT_EQ(el.BuildStiffness(0.3, 0.2, 2.1, 0.7, 0.9, 1.9, kE, kE, kNu, 1), ElementCode::Ok);
  ExpectK9(el, kCubicGeneral);
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j)
      EXPECT_NEAR(static_cast<double>(el.StiffnessAt(i, j) - el.StiffnessAt(j, i)), 0, 1e-9);
  // Rigid motions w = 1, w = x, w = y give no forces (1e-9 of the largest entry, 7.2e4).
  const double x[3] = {0.3, 2.1, 0.9}, y[3] = {0.2, 0.7, 1.9};
  for (int mode = 0; mode < 3; ++mode) {
    std::vector<double> u(9);
    for (int k = 0; k < 3; ++k) {
      u[3 * k] = mode == 0 ? 1 : mode == 1 ? x[k] : y[k];
      u[3 * k + 1] = mode == 2 ? 1 : 0;
      u[3 * k + 2] = mode == 1 ? -1 : 0;
    }
    for (double f : Multiply(el, u)) EXPECT_NEAR(f, 0.0, 7.2e-5);
  }
  // Corners listed clockwise: the same matrix with corners 2 and 3 exchanged.
  CubicElement reversed;
  ASSERT_EQ(reversed.BuildStiffness(0.3, 0.2, 0.9, 1.9, 2.1, 0.7, kE, kE, kNu, 1), ElementCode::Ok);
  const int corner[3] = {0, 2, 1};
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j)
      EXPECT_NEAR(
          static_cast<double>(reversed.StiffnessAt(i, j)),
          static_cast<double>(el.StiffnessAt(3 * corner[i / 3] + i % 3, 3 * corner[j / 3] + j % 3)),
          7.2e-5);
}

TEST(CubicElement, RecoversReferenceStress) {
  CubicElement el;
  double rec[20] = {0.3, 0.2, 2.1,  0.7, 0.9, 1.9, kE,   kE,  kNu,  1,
                    1,   0.1, -0.2, 0.5, 0.3, 0.1, -0.4, 0.2, 0.05, 0};
  ASSERT_EQ(el.RecoverStress(rec), ElementCode::Ok);
  for (int corner = 0; corner < 3; ++corner) {  // 1e-10 relative
    EXPECT_NEAR(rec[10 + 3 * corner], -7.157894352126e+04, 7.2e-6);
    EXPECT_NEAR(rec[11 + 3 * corner], 1.573255692218e+04, 1.6e-6);
    EXPECT_NEAR(rec[12 + 3 * corner], -5.520519014312e+04, 5.6e-6);
  }
  EXPECT_NEAR(rec[19], 3.551940079829e-01, 1e-11);
}

TEST(CubicElement, DegenerateTrianglesStopInsteadOfLooping) {
  CubicElement el;
  // First side shorter than 0.01.
  EXPECT_EQ(el.BuildStiffness(0, 0, 0.005, 0, 0, 1, kE, kE, kNu, 1), ElementCode::Degenerate);
  // Legs of 0.01: the coefficients are too small for the fixed pivot threshold.
  EXPECT_EQ(el.BuildStiffness(0, 0, 0.0101, 0, 0, 0.0101, kE, kE, kNu, 1), ElementCode::Degenerate);
  EXPECT_EQ(el.CornerMoves(), CubicElement::kMaxCornerMoves);
  // Legs of 0.02 still invert.
  EXPECT_EQ(el.BuildStiffness(0, 0, 0.02, 0, 0, 0.02, kE, kE, kNu, 1), ElementCode::Ok);
  // Collinear corners: zero area.
  EXPECT_EQ(el.BuildStiffness(0, 0, 1, 0, 2, 0, kE, kE, kNu, 1), ElementCode::Degenerate);
}

}  // namespace
}  // namespace tavrin
