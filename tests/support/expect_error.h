#pragma once
// Checks the kind and the exact message of an error together.

#include <gtest/gtest.h>

#include <string>

#include "base/exception.h"

#define EXPECT_THROW_MSG(statement, ErrorKind, expectedMessage)                    \
    do {                                                                           \
        try {                                                                      \
            statement;                                                             \
            ADD_FAILURE() << "expected " #ErrorKind " from: " #statement;          \
        } catch (const ErrorKind& error) {                                         \
            EXPECT_EQ(error.Message(), std::u16string(expectedMessage)) << #statement; \
        }                                                                          \
    } while (false)
