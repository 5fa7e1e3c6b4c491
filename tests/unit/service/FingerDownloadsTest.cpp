// Captured fingers downloaded through the routes: each form a page may ask
// for, read back with the tests' own readers, the person's record, and the
// answers that refuse (unknown form, nothing captured, another person, a bad
// settings file) without encoding anything.
#include "An2kReader.h"
#include "ImageReaders.h"
#include "RoutesFixture.h"
#include "TestBitmap.h"

#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 128;

// Ridges about nine pixels apart, as a finger's at 500 ppi, on a background
// brighter towards the top: a picture turned over differs.
int Ridges(int x, int y) {
    return static_cast<int>(70 + y * 0.8 + 40 * std::sin((x * 0.6 + y * 0.4) * 6.2832 / 9) + 0.5);
}

// The picture top row first, as the encoders hand it out (the bitmap is bottom row first).
std::vector<uint8_t> TopFirst(const std::function<int(int, int)>& level) {
    std::vector<uint8_t> pixels;
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x) pixels.push_back(static_cast<uint8_t>(level(x, y)));
    return pixels;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

double Rmse(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return a.empty() ? 1e9 : std::sqrt(sum / a.size());
}

class FingerDownloadsTest : public ServiceRoutesTest {
protected:
    void SetUp() override {
        ServiceRoutesTest::SetUp();
        Post("/v1/station/open", "", Page());
        ASSERT_EQ(Post("/v1/person", u8R"({"key":"A001","name":"张三"})", Page()).Status, 200);
    }
    void TearDown() override {
        for (const std::string& file : files) std::remove(file.c_str());
        ServiceRoutesTest::TearDown();
    }
    void Collect(int slot, const std::function<int(int, int)>& level = Ridges) {
        files.push_back(WriteGreyBitmap("kv90_service_finger_" + std::to_string(slot) + ".bmp", kSide, level));
        station.Collect(slot, files.back());
    }
    void WriteSettings(const std::string& text) {
        std::ofstream(RecordsIni().c_str(), std::ios::binary) << text;
    }

    std::vector<std::string> files;
};

TEST_F(FingerDownloadsTest, FingerInEachFormIsThePictureOfferedUnderTheKey) {
    Collect(3);
    const std::vector<uint8_t> finger = TopFirst(Ridges);

    auto png = Get("/v1/fingers/3?format=png&key=A001", Page());
    ASSERT_EQ(png.Status, 200) << png.Body;
    EXPECT_EQ(png.Header("Content-Type"), "image/png");
    EXPECT_EQ(png.Header("Cache-Control"), "no-store");
    EXPECT_EQ(png.Header("Content-Disposition"),
              "inline; filename=\"A001_3_left_ring_finger.png\"; filename*=UTF-8''A001_3_left_ring_finger.png");
    // The page on another origin may read the name.
    EXPECT_EQ(png.Header("Access-Control-Expose-Headers"), "Content-Disposition");
    EXPECT_EQ(png.Header("Access-Control-Allow-Origin"), kSite);
    PngRead read;
    std::string error;
    ASSERT_TRUE(ReadPngForTest(Bytes(png.Body), read, error)) << error;
    EXPECT_EQ(read.image.width, kSide);
    EXPECT_EQ(read.image.pixels, finger);
    EXPECT_EQ(read.xPerUnit, 19685u);

    auto jp2 = Get("/v1/fingers/3?format=jp2", Page());
    ASSERT_EQ(jp2.Status, 200) << jp2.Body;
    EXPECT_EQ(jp2.Header("Content-Type"), "image/jp2");
    Jp2Read lossless;
    ASSERT_TRUE(ReadJp2ForTest(Bytes(jp2.Body), lossless, error)) << error;
    EXPECT_EQ(lossless.image.pixels, finger);

    auto wsq = Get("/v1/fingers/3?format=WSQ", Page());
    ASSERT_EQ(wsq.Status, 200) << wsq.Body;
    EXPECT_EQ(wsq.Header("Content-Type"), "image/x-wsq");
    EXPECT_NE(wsq.Header("Content-Disposition").find("filename=\"A001_3_left_ring_finger.wsq\""), std::string::npos);
    kv90rec::GrayImage decoded;
    ASSERT_TRUE(kv90rec::wsq::Decode(reinterpret_cast<const uint8_t*>(wsq.Body.data()), wsq.Body.size(), decoded, error))
        << error;
    EXPECT_EQ(decoded.width, kSide);
    EXPECT_LT(Rmse(decoded.pixels, finger), 8.0);
    EXPECT_GT(Rmse(decoded.pixels, TopFirst([](int x, int y) { return Ridges(x, kSide - 1 - y); })), 20.0);

    auto jpeg = Get("/v1/fingers/3?format=jpeg", Page());
    EXPECT_EQ(jpeg.Header("Content-Type"), "image/jpeg");
    EXPECT_NE(jpeg.Header("Content-Disposition").find("filename=\"A001_3_left_ring_finger.jpg\""), std::string::npos);

    for (const char* unknown : {"gif", "", "jpg2", "png%ZZ"}) {
        auto refused = Get(std::string("/v1/fingers/3?format=") + unknown, Page());
        EXPECT_EQ(refused.Status, 400) << unknown;
        EXPECT_NE(refused.Body.find("png, wsq or jp2"), std::string::npos) << refused.Body;
    }
    EXPECT_EQ(Get("/v1/fingers/4?format=png", Page()).Status, 404);
    EXPECT_TRUE(logged.empty());
}

TEST_F(FingerDownloadsTest, KeyBeyondAsciiIsNamedInUtf8WithAPlainFallback) {
    ASSERT_EQ(Post("/v1/person", u8R"({"key":"甲\"01","name":"x"})", Page()).Status, 200);
    Collect(5);
    auto png = Get("/v1/fingers/5?format=png", Page());
    ASSERT_EQ(png.Status, 200) << png.Body;
    EXPECT_EQ(png.Header("Content-Disposition"),
              "inline; filename=\"__01_5_right_thumb.png\"; filename*=UTF-8''%E7%94%B2_01_5_right_thumb.png");
}

TEST_F(FingerDownloadsTest, PersonRecordHoldsEveryCapturedFingerAtItsPosition) {
    Collect(0);
    Collect(5, [](int x, int y) { return Ridges(y, x); });

    auto an2k = Get("/v1/person/record?format=an2k&key=A001", Page());
    ASSERT_EQ(an2k.Status, 200) << an2k.Body;
    EXPECT_EQ(an2k.Header("Content-Type"), "application/octet-stream");
    EXPECT_EQ(an2k.Header("Content-Disposition"), "attachment; filename=\"A001.an2\"; filename*=UTF-8''A001.an2");
    EXPECT_EQ(an2k.Header("Cache-Control"), "no-store");
    std::vector<An2kRecord> records;
    std::string error;
    ASSERT_TRUE(ReadAn2kForTest(Bytes(an2k.Body), records, error)) << error;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].type, 2);
    ASSERT_TRUE(records[1].Find(9) && records[1].Find(18));
    EXPECT_EQ(records[1].Find(9)->Value(), "A001");
    EXPECT_EQ(records[1].Find(18)->Value(), std::string(u8"张三"));
    const char* positions[] = {"6", "1"};
    for (size_t i = 0; i < 2; ++i) {
        const An2kRecord& finger = records[2 + i];
        SCOPED_TRACE("finger " + std::to_string(i));
        EXPECT_EQ(finger.type, 14);
        ASSERT_TRUE(finger.Find(13) && finger.Find(9) && finger.Find(11));
        EXPECT_EQ(finger.Find(13)->Value(), positions[i]);
        EXPECT_EQ(finger.Find(9)->Value(), "500");
        EXPECT_EQ(finger.Find(11)->Value(), "WSQ20");
        kv90rec::GrayImage decoded;
        EXPECT_TRUE(kv90rec::wsq::Decode(finger.image.data(), finger.image.size(), decoded, error)) << error;
    }

    auto iso = Get("/v1/person/record?format=iso19794-4&image=png", Page());
    ASSERT_EQ(iso.Status, 200) << iso.Body;
    EXPECT_EQ(iso.Header("Content-Disposition"), "attachment; filename=\"A001.fir\"; filename*=UTF-8''A001.fir");
    ASSERT_GT(iso.Body.size(), 32u);
    EXPECT_EQ(iso.Body.compare(0, 8, std::string("FIR\0" "010\0", 8)), 0);
    EXPECT_EQ(iso.Body[18], 2);  // fingers
    EXPECT_EQ(iso.Body[29], 5);  // PNG
    EXPECT_EQ(iso.Body[32 + 4], 6);  // the first view's finger position: the left thumb

    EXPECT_EQ(Get("/v1/person/record?format=fbi", Page()).Status, 400);
    EXPECT_EQ(Get("/v1/person/record?format=an2k&image=bmp", Page()).Status, 400);
    EXPECT_EQ(Get("/v1/person/record?format=an2k&image=gif", Page()).Status, 400);
    // A tool without an Origin is refused as for every other call.
    EXPECT_EQ(Get("/v1/person/record?format=an2k", {}).Status, 403);
}

TEST_F(FingerDownloadsTest, NothingCapturedAnswers404AndAnotherPersonNamed409) {
    auto none = Get("/v1/person/record?format=an2k", Page());
    EXPECT_EQ(none.Status, 404);
    EXPECT_NE(none.Body.find("no finger was captured"), std::string::npos) << none.Body;
    Collect(2);
    EXPECT_EQ(Get("/v1/person/record?format=an2k&key=A001", Page()).Status, 200);
    ASSERT_EQ(Post("/v1/person", R"({"key":"B002","name":"y"})", Page()).Status, 200);
    EXPECT_EQ(Get("/v1/person/record?format=an2k&key=A001", Page()).Status, 409);
    // The new person's fingers are not the old one's.
    EXPECT_EQ(Get("/v1/person/record?format=an2k", Page()).Status, 404);
}

TEST_F(FingerDownloadsTest, SettingsTheRecordsCannotCarryAreNamedAndLosslessFormsNeedNone) {
    Collect(1);
    WriteSettings("[Records]\r\nPriority=10\r\n");
    auto record = Get("/v1/person/record?format=an2k", Page());
    EXPECT_EQ(record.Status, 500);
    EXPECT_NE(record.Body.find("Priority"), std::string::npos) << record.Body;
    EXPECT_EQ(Get("/v1/fingers/1?format=wsq", Page()).Status, 500);
    EXPECT_EQ(Get("/v1/fingers/1?format=png", Page()).Status, 200);

    // The office's choices count at the next download: PNG images inside, a higher WSQ rate.
    WriteSettings("[Records]\r\nRecordImage=png\r\nWsqBitRate=2.25\r\nOriginatingAgency=ORI123\r\n");
    auto an2k = Get("/v1/person/record", Page());
    ASSERT_EQ(an2k.Status, 200) << an2k.Body;
    std::vector<An2kRecord> records;
    std::string error;
    ASSERT_TRUE(ReadAn2kForTest(Bytes(an2k.Body), records, error)) << error;
    ASSERT_EQ(records.size(), 3u);
    ASSERT_TRUE(records[2].Find(11) && records[2].Find(4));
    EXPECT_EQ(records[2].Find(11)->Value(), "PNG");
    EXPECT_EQ(records[2].Find(4)->Value(), "ORI123");
    const size_t fine = Get("/v1/fingers/1?format=wsq", Page()).Body.size();
    WriteSettings("[Records]\r\nWsqBitRate=0.5\r\n");
    const size_t coarse = Get("/v1/fingers/1?format=wsq", Page()).Body.size();
    EXPECT_GT(fine, coarse);
}

TEST_F(FingerDownloadsTest, FingerComesWhileEveryWorkerWaitsForTheStation) {
    Collect(6);
    // Nothing runs the desk's commands on this thread until the finger came:
    // both workers wait with a command for the station.
    auto first = std::async(std::launch::async, [&] { return Client().Request("POST", "/v1/station/close", Page()); });
    auto second = std::async(std::launch::async, [&] { return Client().Request("POST", "/v1/station/close", Page()); });
    Sleep(200);
    auto png = Client().Request("GET", "/v1/fingers/6?format=png", Page());
    EXPECT_EQ(png.Status, 200) << png.Body;
    auto record = Client().Request("GET", "/v1/person/record?format=iso19794-4&image=jp2", Page());
    EXPECT_EQ(record.Status, 200) << record.Body;
    Pumped([&] { return first.get().Status + second.get().Status; });
}

}  // namespace
