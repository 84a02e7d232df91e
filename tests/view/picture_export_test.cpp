#include "view/picture_export.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::ViewProject;

std::string Head(const std::filesystem::path& file, std::size_t n) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ExportPicture, WritesEachFormatWithItsMagic) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::filesystem::path folder = dir.path().toStdString();
  struct Case {
    const char* name;
    std::string magic;
  };
  const Case cases[] = {{"section.png", "\x89PNG\r\n\x1a\n"},
                        {"section.svg", "<?xml"},
                        {"section.pdf", "%PDF-"},
                        {"UPPER.PNG", "\x89PNG\r\n\x1a\n"}};
  for (const char* example : {"homogeneous-grid.pdd", "irregular-random.pdd", "layered-phreatic-loads.pdd"}) {
    ViewProject p;
    p.load(example);
    for (const Case& c : cases) {
      const std::filesystem::path out = folder / c.name;
      ASSERT_NO_THROW(ExportPicture(p.project, ViewOptions{}, out, QSize(640, 400))) << example << " " << c.name;
      EXPECT_EQ(Head(out, c.magic.size()), c.magic) << example << " " << c.name;
    }
    EXPECT_NE(Contents(folder / "section.svg").find("<svg"), std::string::npos);
  }
}

TEST(ExportPicture, APngHasTheAskedSizeAndShowsTheSection) {
  QTemporaryDir dir;
  ViewProject p;
  p.load("layered-phreatic-loads.pdd");
  const DrawingSettings before = p.project.drawing;
  const std::filesystem::path out = std::filesystem::path(dir.path().toStdString()) / "picture.png";
  ExportPicture(p.project, ViewOptions{}, out, QSize(777, 333));
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(out.string())));
  EXPECT_EQ(image.size(), QSize(777, 333));
  // Every soil colour of the example appears; the drawing settings are the
  // window's own.
  for (int bgr : {8454143, 8454016, 16777088}) {
    bool found = false;
    for (int y = 0; y < image.height() && !found; y += 2) {
      for (int x = 0; x < image.width() && !found; x += 2) found = image.pixelColor(x, y) == ColourFromBgr(bgr);
    }
    EXPECT_TRUE(found) << bgr;
  }
  EXPECT_EQ(p.project.drawing, before);
}

TEST(ExportPicture, ReplacesAnOldFileWhole) {
  QTemporaryDir dir;
  const std::filesystem::path out = std::filesystem::path(dir.path().toStdString()) / "old.png";
  {
    std::ofstream old(out, std::ios::binary);
    old << std::string(100000, 'x');
  }
  ViewProject p;
  p.load("homogeneous-grid.pdd");
  ExportPicture(p.project, ViewOptions{}, out, QSize(100, 80));
  const std::string bytes = Contents(out);
  EXPECT_EQ(bytes.substr(0, 4), "\x89PNG");
  EXPECT_LT(bytes.size(), 100000u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(ExportPicture, RefusesWithAMessage) {
  QTemporaryDir dir;
  ViewProject p;
  p.load("homogeneous-grid.pdd");
  const std::filesystem::path folder = dir.path().toStdString();
  struct Case {
    std::filesystem::path out;
    QSize size;
    std::string says;
  };
  const Case cases[] = {
      {folder / "picture.bmp", QSize(100, 100), ".png, .svg or .pdf"},
      {folder / "picture", QSize(100, 100), ".png, .svg or .pdf"},
      {folder / "missing" / "picture.png", QSize(100, 100), "Cannot write"},
      {folder / "picture.png", QSize(0, 100), "0 x 100"},
  };
  for (const Case& c : cases) {
    try {
      ExportPicture(p.project, ViewOptions{}, c.out, c.size);
      ADD_FAILURE() << c.out << " was written";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "picture.png"));
}

}  // namespace
}  // namespace pelodyn
