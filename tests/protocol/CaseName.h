#pragma once

#include <gtest/gtest.h>

#include <string>

// Names a parameterised case by the Name field of its table row.
struct CaseName {
    template <class Row> std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.Name;
    }
};
