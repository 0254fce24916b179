// Step 6: the LiDAR trees of every Phase 2 plot are drawn MaxItern times into the plot's
// species-product classes in proportion to its ground trees, grown into ground trees with the
// regression equations, and averaged; once for DataSet 1 (HIGH heights) and once for DataSet 2
// (LOW heights). With expected shares (LidarClasses 1) every LiDAR tree enters every class with
// the chance of its draw instead, once, and nothing is averaged. Reads the coefficient, DBH and
// strata files, _PH2Plot.csv and both LiDAR height files; writes _PH2plotDS1.csv, _PH2specDS1.csv
// and _PH2plotDS2.csv.
#pragma once

#include "core/Step.h"
#include "files/StepFiles.h"

namespace orr {

// Stops without a DataSet 1 LiDAR file, on input it cannot use and on a missing ground-height
// coefficient; a LiDAR plot above MaxPlots ends it as needing a larger MaxPlots. In every such
// case no file changes.
StepResult distributeLidarTrees(const StepInputs& inputs, StepHost& host);

// What step 6 reads and writes; its runner checks the inputs and records the run by it.
const files::StepFiles& distributionFiles();

}  // namespace orr
