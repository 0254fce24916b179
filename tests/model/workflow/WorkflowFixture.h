// A workflow over the scripted steps, on a session whose set-up (name, coefficient, strata, DBH,
// tree and high LiDAR files) is complete but not yet seen by an activation.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "model/workflow/Workflow.h"
#include "tests/model/workflow/ScriptedSteps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::workflow {

using test::ScriptedSteps;

class WorkflowTest : public ::testing::Test {
  protected:
    WorkflowTest() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "ABC";
        session.coefficientFile = "/d/ABC_COEFFIC.csv";
        session.strataFile = "/d/ABC_STRATA.csv";
        session.dbhFile = "/d/ABC_DBH.csv";
        session.treeFile = "/field data/TREES.csv";
        session.lidarHighFile = "/lidar/High Heights.csv";
        session.params = ParamRecord::defaults();  // a step does not start with parameters of 0
        ScriptedSteps::clear();
    }
    test::TempDir dir;
    Session session;
    test::FakeHost host;
    Workflow wf{session, ScriptedSteps::steps()};
    static StepResult stopped() { return StepResult::stopped("stopped"); }
};

}  // namespace orr::workflow
