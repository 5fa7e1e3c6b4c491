// The tests' transaction reader against a transaction it did not make: NIST's
// reference file, listed exactly as NIST's own reader lists it.
#include "An2kReader.h"
#include "RecordsTestFiles.h"
#include "framework/SysUtils.h"
#include "records/FileBytes.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(An2kReader, ReadsNistsReferenceTransactionFieldForField) {
    const std::string folder = VectorsFolder() + "an2k\\";
    if (!FileExists(folder + "valid1.11.an2")) GTEST_SKIP() << "no reference files at " << folder;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(kv90rec::ReadFileBytes(folder + "valid1.11.an2", bytes));
    std::vector<An2kRecord> records;
    std::string error;
    ASSERT_TRUE(ReadAn2kForTest(bytes, records, error)) << error;
    std::vector<std::string> expected;
    std::ifstream listing(folder + "valid1.11.fields.txt");
    for (std::string line; std::getline(listing, line);)
        if (!line.empty()) expected.push_back(line);
    ASSERT_EQ(expected.size(), 261u);
    EXPECT_EQ(ListFields(records), expected);
}

TEST(An2kReader, RefusesATransactionCutShort) {
    const std::string folder = VectorsFolder() + "an2k\\";
    if (!FileExists(folder + "valid1.11.an2")) GTEST_SKIP() << "no reference files at " << folder;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(kv90rec::ReadFileBytes(folder + "valid1.11.an2", bytes));
    bytes.resize(bytes.size() - 100);
    std::vector<An2kRecord> records;
    std::string error;
    EXPECT_FALSE(ReadAn2kForTest(bytes, records, error));
}
