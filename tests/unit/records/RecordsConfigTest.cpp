#include "TempFolder.h"
#include "records/RecordsConfig.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(RecordsConfig, MissingFileGivesTheDocumentedDefaults) {
    TempFolder folder;
    kv90rec::RecordsConfig config;
    std::string error;
    ASSERT_TRUE(kv90rec::LoadRecordsConfig(L"Z:\\no\\such\\Records.ini", config, error)) << error;
    EXPECT_EQ(config.destinationAgency, "DAI000000");
    EXPECT_EQ(config.originatingAgency, "ORI000000");
    EXPECT_EQ(config.transactionType, "CAR");
    EXPECT_EQ(config.domainName, "NORAM");
    EXPECT_EQ(config.recordImage, kv90rec::ImageFormat::Wsq);
    EXPECT_DOUBLE_EQ(config.wsqBitRate, 0.75);
}

TEST(RecordsConfig, OfficeValuesReplaceTheDefaultsKeyByKey) {
    kv90rec::RecordsConfig config;
    std::string error;
    ASSERT_TRUE(kv90rec::ParseRecordsConfig("\xEF\xBB\xBF; office\r\n[Other]\r\nTransactionType=XXX\r\n[records]\r\n"
                                            " originatingagency = NY0303000 \r\nPriority=2\r\nRecordImage=JP2\r\n"
                                            "WsqBitRate=2.25\r\nDomainName=\r\n",
                                            config, error))
        << error;
    EXPECT_EQ(config.originatingAgency, "NY0303000");
    EXPECT_EQ(config.transactionType, "CAR");  // the other section's key is not the records'
    EXPECT_EQ(config.priority, 2);
    EXPECT_EQ(config.recordImage, kv90rec::ImageFormat::Jp2);
    EXPECT_DOUBLE_EQ(config.wsqBitRate, 2.25);
    EXPECT_EQ(config.domainName, "");
}

TEST(RecordsConfig, ValuesTheRecordsCannotCarryAreRefusedByName) {
    const char* bad[][2] = {
        {"[Records]\nPriority=10", "Priority"},
        {"[Records]\nWsqBitRate=3", "WsqBitRate"},
        {"[Records]\nRecordImage=bmp", "RecordImage"},
        {"[Records]\nOriginatingAgency=", "OriginatingAgency"},
        {"[Records]\nDestinationAgency=\xE5\xBC\xA0", "DestinationAgency"},
        {"[Records]\nAcquisitionLevel=x", "AcquisitionLevel"},
    };
    for (const auto& entry : bad) {
        kv90rec::RecordsConfig config;
        std::string error;
        EXPECT_FALSE(kv90rec::ParseRecordsConfig(entry[0], config, error)) << entry[0];
        EXPECT_NE(error.find(entry[1]), std::string::npos) << error;
        EXPECT_EQ(config.originatingAgency, "ORI000000");  // nothing half-taken
    }
}

TEST(RecordsConfig, ABadValueLeavesEveryKeyAsItWas) {
    kv90rec::RecordsConfig config;
    std::string error;
    EXPECT_FALSE(kv90rec::ParseRecordsConfig("[Records]\nOriginatingAgency=NEW000000\nRecordImage=png\nWsqBitRate=9\n",
                                             config, error));
    EXPECT_EQ(config.originatingAgency, "ORI000000");
    EXPECT_EQ(config.recordImage, kv90rec::ImageFormat::Wsq);
}

TEST(RecordsConfig, AFileSavedAsUnicodeIsReadAsWell) {
    const std::string text = "[Records]\r\nOriginatingAgency=NY0303000\r\nPriority=3\r\n";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (char c : text) {
        little += c;
        little += '\0';
        big += '\0';
        big += c;
    }
    TempFolder folder;
    for (const std::string* bytes : {&little, &big}) {
        folder.Write("Records.ini", *bytes);
        const std::string path = folder.Path() + "Records.ini";
        kv90rec::RecordsConfig config;
        std::string error;
        ASSERT_TRUE(kv90rec::LoadRecordsConfig(std::wstring(path.begin(), path.end()), config, error)) << error;
        EXPECT_EQ(config.originatingAgency, "NY0303000");
        EXPECT_EQ(config.priority, 3);
    }
}

TEST(RecordsConfig, AFileThatIsThereButCannotBeReadIsRefused) {
    TempFolder folder;
    folder.Write("Records.ini", "[Records]\r\nOriginatingAgency=NY0303000\r\n");
    const std::string path = folder.Path() + "Records.ini";
    const std::wstring widePath(path.begin(), path.end());
    // Held open with no sharing, as an editor or a copy in progress may hold it.
    const HANDLE held = CreateFileW(widePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    kv90rec::RecordsConfig config;
    std::string error;
    EXPECT_FALSE(kv90rec::LoadRecordsConfig(widePath, config, error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
    CloseHandle(held);
    EXPECT_TRUE(kv90rec::LoadRecordsConfig(widePath, config, error)) << error;
    EXPECT_EQ(config.originatingAgency, "NY0303000");
}
