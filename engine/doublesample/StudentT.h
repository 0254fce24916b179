// Student's t quantile for the confidence intervals of the double-sample estimates.
#pragma once

namespace orr {

// t for `df` degrees of freedom and the two-sided error probability `alpha` (0.05 for 95
// percent), by the Cornish-Fisher expansion around a rational approximation of the normal
// quantile. df 0 gives 0.
double studentT(int df, float alpha);

}  // namespace orr

namespace orr {

// Student's t quantile for a real number of degrees of freedom, as the area-weighted combination
// of the strata needs it (Satterthwaite's degrees of freedom are rarely whole): the t whose
// two-sided tail probability is `alpha`, from the t distribution itself (the regularized
// incomplete beta function, solved by bisection to the precision of a double). df must be above
// 0; 0 or less gives 0.
double studentTQuantile(double df, double alpha);

// The two-sided tail probability P(|T| > t) of Student's t with `df` degrees of freedom.
double studentTTail(double df, double t);

}  // namespace orr
