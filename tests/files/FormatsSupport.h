// Shared helpers of the input-file tests: expect an error of a given type whose message holds
// every listed fragment.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/InputError.h"
#include "files/CellText.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

template <class Error>
void expectError(const std::function<void()>& action, const std::vector<std::string>& fragments) {
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        const std::string message = e.what();
        for (const std::string& fragment : fragments)
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
}

}  // namespace orr::test
