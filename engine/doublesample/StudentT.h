// Student's t quantile for the confidence intervals of the double-sample estimates.
#pragma once

namespace orr {

// t for `df` degrees of freedom and the two-sided error probability `alpha` (0.05 for 95
// percent), by the Cornish-Fisher expansion around a rational approximation of the normal
// quantile. df 0 gives 0.
double studentT(int df, float alpha);

}  // namespace orr
