// The person text as the station reads it, and the texts a host refuses to send.
#include "EventQueue.h"
#include "PersonText.h"
#include "SlotFiles.h"

#include <gtest/gtest.h>

using namespace kv90host;

namespace {

constexpr UINT kGbk = 936;
const std::wstring kTemp = L"C:\\Program Files\\Finger_KV90\\Temp\\";

PersonRefusal encode(const std::wstring& key, const std::wstring& name, std::string& bytes,
                     const std::wstring& temp = kTemp) {
    return encodePersonText(key, name, temp, kGbk, bytes);
}

}  // namespace

TEST(PersonText, KeyDollarNameInTheCodePage) {
    std::string bytes;
    ASSERT_EQ(encode(L"0001", L"张三", bytes), PersonRefusal::None);
    EXPECT_EQ(bytes, std::string("0001$\xD5\xC5\xC8\xFD"));
    ASSERT_EQ(encode(L"", L"", bytes), PersonRefusal::None);
    EXPECT_EQ(bytes, "$");
}

TEST(PersonText, ADollarInTheNameStaysInTheName) {
    std::string bytes;
    EXPECT_EQ(encode(L"A", L"B$C", bytes), PersonRefusal::None);
    EXPECT_EQ(bytes, "A$B$C");
}

struct Refused {
    const wchar_t* key;
    const wchar_t* name;
    PersonRefusal refusal;
};

TEST(PersonText, RefusalsSendNothing) {
    const std::wstring longName(200, L'名');
    const Refused cases[] = {
        {L"12$3", L"x", PersonRefusal::KeyHasDollar},
        {L"1", L"\xAC00", PersonRefusal::NotInCodePage},        // a Hangul syllable GBK lacks
        {L"\x0627", L"x", PersonRefusal::NotInCodePage},        // an Arabic letter
        {L"1", L"\xD83D\xDE00", PersonRefusal::NotInCodePage},  // outside the basic plane
        {L"1/2", L"x", PersonRefusal::UnsafeForFileName},
        {L"1", L"..\\..\\evil", PersonRefusal::UnsafeForFileName},
        {L"1", L"a:b", PersonRefusal::UnsafeForFileName},
        {L"1", L"tab\there", PersonRefusal::UnsafeForFileName},
        {L"NUL .a", L"x", PersonRefusal::UnsafeForFileName},
        {L"1", longName.c_str(), PersonRefusal::None},
    };
    for (const Refused& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(encode(c.key, c.name, bytes), c.refusal) << "key " << c.key << " name " << c.name;
        if (c.refusal != PersonRefusal::None) {
            EXPECT_TRUE(bytes.empty());
            EXPECT_FALSE(describePersonRefusal(c.refusal).empty());
        }
    }
}

TEST(PersonText, LengthOfTheFileNameAndOfThePath) {
    std::string bytes;
    // "k$" + name + "_0.bmp": 8 characters beside the name.
    EXPECT_EQ(encode(L"k", std::wstring(247, L'a'), bytes, L""), PersonRefusal::None);
    EXPECT_EQ(encode(L"k", std::wstring(248, L'a'), bytes, L""), PersonRefusal::TooLong);
    const std::wstring deep = L"C:\\" + std::wstring(200, L'd') + L"\\Temp\\";
    const size_t room = MAX_PATH - 1 - deep.size() - 8;
    EXPECT_EQ(encode(L"k", std::wstring(room, L'a'), bytes, deep), PersonRefusal::None);
    EXPECT_EQ(encode(L"k", std::wstring(room + 1, L'a'), bytes, deep), PersonRefusal::TooLong);
}

TEST(SlotFiles, NamedAsTheStationNamesThem) {
    EXPECT_EQ(tempFolderOf(L"C:\\KV90"), L"C:\\KV90\\Temp\\");
    EXPECT_EQ(tempFolderOf(L"C:\\KV90\\"), L"C:\\KV90\\Temp\\");
    EXPECT_EQ(slotFilePath(L"C:\\KV90\\Temp\\", 3), L"C:\\KV90\\Temp\\3.bmp");
    EXPECT_EQ(personSlotFilePath(L"C:\\KV90\\Temp\\", L"1234", L"XYZ", 6), L"C:\\KV90\\Temp\\1234$XYZ_6.bmp");
    EXPECT_EQ(personSlotFilePath(L"C:\\KV90\\Temp\\", L"", L"XYZ", 0), L"C:\\KV90\\Temp\\$XYZ_0.bmp");
    EXPECT_EQ(personSlotFilePath(L"C:\\KV90\\Temp\\", L"", L"", 9), L"C:\\KV90\\Temp\\$_9.bmp");
    EXPECT_TRUE(slotFilePath(L"C:\\KV90\\Temp\\", 10).empty());
    EXPECT_TRUE(personSlotFilePath(L"C:\\KV90\\Temp\\", L"a", L"b", -1).empty());
}

TEST(EventQueue, BoundedDroppingTheOldest) {
    EventQueue queue(2);
    for (int slot = 0; slot < 3; ++slot) {
        EventRecord record;
        record.name = L"Collected";
        record.slot = slot;
        queue.push(record);
    }
    EXPECT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.dropped(), 1u);
    EventRecord record;
    ASSERT_TRUE(queue.pop(record));
    EXPECT_EQ(record.slot, 1);
    ASSERT_TRUE(queue.pop(record));
    EXPECT_EQ(record.slot, 2);
    EXPECT_FALSE(queue.pop(record));
}
