// The drawing area of the main window: a scroll box holding the canvas.
//
// The canvas keeps three layers, each invalidated on its own: the base layer
// (background, grid dots, soil bands, axes) cached as an image of the
// VISIBLE part of the drawing only, so a long section at a large zoom never
// allocates the whole picture; the overlay layer (DisplayList items and the
// analysed surface), also cached for the visible part; and the trial layer
// of a running search, painted on top. The legend of a contour map is
// painted last, in the corner of the visible part, so that it stays in
// sight while the drawing scrolls. Nothing is drawn outside paintEvent:
// a change updates state and schedules a repaint.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <QWidget>
#include <vector>

#include "model/critical_surface.h"
#include "model/project.h"
#include "view/display_list.h"
#include "view/fs_contours.h"
#include "view/section_painter.h"
#include "view/tools/drawing_tool.h"
#include "view/view_options.h"
#include "view/view_transform.h"

namespace pelodyn {

class SectionView;

// The drawing image (objectName "Image_Area"). Its size is the whole
// logical image; it reports the cursor in world units.
class SectionCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit SectionCanvas(SectionView* view);

  // The cached base image and the image rectangle it covers (empty until
  // the first paint), for tests.
  const QImage& cachedBase() const { return m_base; }
  QRect cachedBaseRect() const { return m_baseRect; }
  // How often the base was rendered: a test can see a redraw happen.
  int baseRenderCount() const { return m_baseRenders; }
  int overlayRenderCount() const { return m_overlayRenders; }

  void invalidateBase();
  void invalidateOverlay();

  // The trial layer of a running search: the trial's slip polyline and
  // centre (world units), drawn over everything until the next trial or
  // clearTrial(); only this layer is repainted for a trial.
  void setTrial(std::vector<double> x, std::vector<double> y, double centerX, double centerY);
  void clearTrial();

  // The part of the canvas shown by the scroll box, in canvas pixels.
  QRect visibleImageRect() const;

 signals:
  void cursorMoved(double worldX, double worldY);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void renderLayers(const QRect& visible);
  void paintTrial(QPainter& p);
  void paintEditorMarks(QPainter& p);
  // The pointer in world units, on the grid lattice while the grid snap is on.
  std::pair<double, double> worldAt(const QPoint& pixel) const;

  SectionView* m_view;
  QImage m_base, m_overlay;
  QRect m_baseRect, m_overlayRect;
  bool m_baseValid = false, m_overlayValid = false;
  int m_baseRenders = 0, m_overlayRenders = 0;
  std::vector<double> m_trialX, m_trialY;
  double m_trialCenterX = 0.0, m_trialCenterY = 0.0;
  bool m_trialShown = false;
};

// The scroll box (objectName "ScrollBox_Image"), scroll step 10 pixels.
class SectionView : public QScrollArea {
  Q_OBJECT
 public:
  explicit SectionView(QWidget* parent = nullptr);

  // Not owned; may be nullptr, which draws the background only. Reads the
  // project's drawing settings and GridSize as the zoom.
  void setProject(Project* project);
  Project* project() const { return m_project; }
  SectionCanvas* canvas() const;

  const ViewTransform& transform() const;
  int pixelsPerUnit() const;
  // Sets the zoom as it stands (settings apply it; no clamping) and resizes.
  void setPixelsPerUnit(int p);

  const ViewOptions& viewOptions() const;
  // Redraws the layers the change touches.
  void setViewOptions(const ViewOptions& o);

  const DisplayList& displayList() const;
  // The mouse editor changes items in place and then redraws the overlays.
  DisplayList& mutableDisplayList() { return m_list; }
  // What the painters read from the project at the last redraw.
  const SectionScene& scene() const { return m_scene; }

  // 0: resize, axes; 1: bands and axes over the existing image; 2: resize,
  // bands, axes. All invalidate the cached base; nothing happens while the
  // project is loading.
  void redrawBase(int mode);
  void redrawOverlays();
  // Items from the tables, redraw. When the section, the search centres or
  // the loads reach past the work area (or within a few pixels of its right
  // or top edge) the work area first grows to hold them with a border, at
  // the same zoom. The scroll position stays, except after a new project,
  // zoom setting or fit, which show the origin.
  void rebuildDisplayList();
  // Zoom in by 4 up to 30, out by 2 down to 4, keeping the centre of the
  // visible part where it was. A zoom at its bound still redraws.
  void zoomIn();
  void zoomOut();
  // Fits the section (with the search centres and the loads) into the
  // scroll box with a border of 30 pixels, so that no scroll bar is needed;
  // needs Geometry rows. Keeps at least 1 pixel per unit.
  void fitView();
  void scrollToOrigin();

  // The work area FitView would choose for a box (grid units) in a scroll
  // box of `viewportWidth` x `viewportHeight` pixels: pixels per unit and
  // the work area, whose image (with its margin) fits the box. A zero-size
  // box side counts as one unit.
  struct Fit {
    int pixelsPerUnit = 1;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool operator==(const Fit&) const = default;
  };
  static Fit ComputeFit(double xmin, double xmax, double ymin, double ymax, int viewportWidth, int viewportHeight);

  // While a search runs on another thread it owns the project: the view
  // then reads nothing from it. Zoom and scroll go on with what was read
  // before; unfreezing reads the project again.
  void setFrozen(bool frozen);
  bool frozen() const { return m_frozen; }

  // Keeps the surface analysed last on the drawing, under the next one (the
  // critical circle of each method in turn); cleared by clearKeptSurfaces.
  // `labelFs`, when given, replaces the factor its label shows (the kept
  // surface of one method shows that method's factor).
  void keepAnalysedSurface(std::optional<double> labelFs = std::nullopt);
  void clearKeptSurfaces();

  // The surfaces a run presents, bottom first: while the list is not empty
  // the drawing shows exactly these (each with its centre mark and its own
  // label) instead of the project's analysed surface and the kept ones, as
  // long as ViewOptions::resultAvailable is set. They are copies, so they
  // are drawn even while the view is frozen; an empty list goes back to the
  // project's analysed surface.
  void setCriticalSurfaces(std::vector<CriticalSurface> surfaces);
  const std::vector<CriticalSurface>& criticalSurfaces() const { return m_critical; }

  // The factor-of-safety discs over the grid of centres, drawn over the
  // overlays until cleared, with their legend in the top-right corner of
  // the visible part.
  void setContourMap(std::optional<ContourMap> map);
  const std::optional<ContourMap>& contourMap() const { return m_contours; }

  // What the mouse editor shows over the drawing: the rubber band from the
  // point placed last to the cursor, and the selected (or dragged) point.
  // World units; cleared with nullopt.
  void setRubberBand(std::optional<std::pair<WorldPoint, WorldPoint>> band);
  void setSelectedPoint(std::optional<WorldPoint> point);
  const std::optional<std::pair<WorldPoint, WorldPoint>>& rubberBand() const { return m_rubberBand; }
  const std::optional<WorldPoint>& selectedPoint() const { return m_selected; }
  // A load or anchor placed with the mouse and not yet stored by its
  // editor's OK: one point (a line load, drawn as an arrow onto it) or the
  // two ends of a strip load or anchor. Empty: none.
  void setPlacedLoad(std::vector<WorldPoint> points);
  const std::vector<WorldPoint>& placedLoad() const { return m_placedLoad; }
  // A half-size of the point marks, in world units along X and Y: how near
  // a click must be to take a point.
  std::pair<double, double> pointTolerance() const;

 signals:
  // The cursor in world units, on the grid lattice while the grid snap is
  // on (the status bar shows it).
  void cursorMoved(double worldX, double worldY);
  // The mouse editor's events, in world units (snapped as above); `button`
  // is Qt::MouseButton.
  void pointerPressed(double worldX, double worldY, int button, QPoint globalPosition);
  void pointerMoved(double worldX, double worldY);
  void pointerReleased(double worldX, double worldY, int button);
  void viewChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Ctrl + wheel zooms in and out; the wheel alone scrolls.
  void wheelEvent(QWheelEvent* event) override;

 private:
  friend class SectionCanvas;
  void applyTransform();
  void refreshScene();
  void zoomTo(int newPixelsPerUnit);
  // The presented surfaces as the painters draw them, with the drawing
  // settings the scene was read with.
  void presentCriticalSurfaces();
  // Widens the work area, at the zoom as it is, to what the section, the
  // search centres and the loads reach, with a border of 30 pixels, when
  // they reach past it (or within a few pixels of its right or top edge);
  // the visible part stays where it was. True when it grew.
  bool growToContent();

  Project* m_project = nullptr;
  SectionCanvas* m_canvas = nullptr;
  ViewTransform m_transform;
  ViewOptions m_options;
  DisplayList m_list;
  SectionScene m_scene;
  bool m_frozen = false;
  std::optional<ContourMap> m_contours;
  ContourLegend m_legend;
  std::vector<CriticalSurface> m_critical;
  std::optional<std::pair<WorldPoint, WorldPoint>> m_rubberBand;
  std::optional<WorldPoint> m_selected;
  std::vector<WorldPoint> m_placedLoad;
  bool m_fitting = false;
  bool m_scrollPending = true;
};

}  // namespace pelodyn
