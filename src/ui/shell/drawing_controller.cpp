#include "ui/shell/drawing_controller.h"

#include <QMenu>

#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/shell/load_editor.h"
#include "ui/shell/strip_controls.h"
#include "view/section_view.h"

namespace pelodyn {

DrawingController::DrawingController(ProjectDocument& document, Prompter& prompter, SectionView& view,
                                     StripControls& strip, QMenu* popup, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_prompter(prompter),
      m_view(view),
      m_strip(strip),
      m_popup(popup),
      m_tool(*this) {
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    m_tool.start(TargetNone);
    m_moving = m_grabbed = false;
    m_view.setRubberBand(std::nullopt);
    select(std::nullopt);
    emit soilTipText(QString());  // the soil named was the previous project's
  }));
  // A selected point that an edit (undo, a grid) took away is no longer
  // selected; one that moved is shown where it is now.
  connect(&n, &ProjectNotifier::rowsChanged, this, GuardedSlot([this](Table table, int) {
    if (table == Table::Geometry && m_selected) select(m_selected);
  }));
  connect(&n, &ProjectNotifier::tableReset, this, GuardedSlot([this](Table table) {
    if (table == Table::Geometry && m_selected) select(m_selected);
  }));
  // A load or anchor shows where it was clicked at once, before its OK.
  for (LoadEditor* editor : {&m_strip.lineLoads(), &m_strip.stripLoads(), &m_strip.anchors()}) {
    connect(editor, &LoadEditor::drawnChanged, this, GuardedSlot([this, editor] { showPlacedLoad(*editor); }));
  }
}

void DrawingController::showPlacedLoad(const LoadEditor& editor) {
  const auto& fields = editor.drawnFields();
  const auto value = [&fields](std::string_view name) -> std::optional<double> {
    for (const auto& [field, v] : fields) {
      if (field == name) return v;
    }
    return std::nullopt;
  };
  const auto point = [&](std::string_view fx, std::string_view fy) -> std::optional<WorldPoint> {
    const std::optional<double> x = value(fx), y = value(fy);
    if (!x || !y) return std::nullopt;
    return WorldPoint{*x, *y};
  };
  std::vector<WorldPoint> points;
  const auto add = [&points](std::optional<WorldPoint> p) {
    if (p) points.push_back(*p);
  };
  switch (editor.table()) {
    case Table::Lineload:
      add(point(FieldNameOf(LineLoadField::X), FieldNameOf(LineLoadField::Y)));
      break;
    case Table::Stripload:
      add(point(FieldNameOf(StripLoadField::BeginX), FieldNameOf(StripLoadField::Y1)));
      add(point(FieldNameOf(StripLoadField::EndX), FieldNameOf(StripLoadField::Y2)));
      break;
    default:
      add(point(FieldNameOf(AnchorField::XStart), FieldNameOf(AnchorField::YStart)));
      add(point(FieldNameOf(AnchorField::XEnd), FieldNameOf(AnchorField::YEnd)));
      break;
  }
  // One end of a two-ended load shows as a mark, not as an arrow.
  if (points.size() == 1 && editor.table() != Table::Lineload) points.push_back(points.front());
  m_view.setPlacedLoad(std::move(points));
}

void DrawingController::start(int target) {
  m_moving = m_grabbed = false;
  m_view.setRubberBand(std::nullopt);
  // The choice a target brings: the search kind its clicks define, the
  // load it places switched on.
  m_document.setOptions(QStringLiteral("Draw"), [target](OptionValues& o) {
    if (target == TargetGridCorners) o.setItemIndex(Option::CB_Cir_Search, 0);
    if (target == TargetSpecificCircle) o.setItemIndex(Option::CB_Cir_Search, 1);
    if (target == TargetAutoStart) o.setItemIndex(Option::CB_Cir_Search, 2);
    if (target == TargetLineLoad) o.setChecked(Option::CB_LineLoad_Disable, false);
    if (target == TargetStripLoad) o.setChecked(Option::CB_StripLoad_Disable, false);
    if (target == TargetAnchor) o.setChecked(Option::CB_Anchor_Disable, false);
  });
  m_tool.start(target);
}

void DrawingController::end() {
  if (!m_tool.drawing()) return;
  m_tool.end();
  m_view.setRubberBand(std::nullopt);
}

void DrawingController::beginMove() {
  m_tool.start(TargetNone);
  m_view.setRubberBand(std::nullopt);
  m_moving = true;
  m_grabbed = false;
}

void DrawingController::deleteSelected() {
  if (!m_selected) return;
  const PointKey key = *m_selected;
  select(std::nullopt);
  replaceGeometry(DeletedPointRows(m_document.projectForAnalysis(), key));
}

void DrawingController::press(double x, double y, int button, QPoint globalPosition) {
  if (m_document.runInProgress()) return;
  if (m_tool.drawing()) {
    if (button == Qt::RightButton) {
      end();
      return;
    }
    if (button != Qt::LeftButton) return;
    m_tool.click(m_document.projectForAnalysis(), x, y);
    m_view.setRubberBand(std::nullopt);
    return;
  }
  if (m_soilTip && !m_moving) {
    if (button == Qt::LeftButton) {
      emit soilTipText(soilUnder(x, y));
      return;
    }
    if (button == Qt::RightButton) {
      m_soilTip = false;
      emit soilTipText(QString());
      emit soilTipEnded();
    }
  }
  const auto [tx, ty] = m_view.pointTolerance();
  const std::optional<PointKey> hit = FindBoundaryPoint(m_document.projectForAnalysis(), x, y, tx, ty);
  if (m_moving) {
    if (hit) select(hit);
    m_grabbed = hit.has_value();
    m_dragItem = -1;
    if (hit) {
      // The grabbed point's item: boundary-line items follow the rows of
      // Geometry in stored order.
      int index = 0;
      for (const Row& r : m_document.project().store->rows(Table::Geometry)) {
        if (r.integer(GeometryField::LineNo) == hit->line && r.integer(GeometryField::PointNo) == hit->point) {
          m_dragItem = index;
          m_dragFrom = WorldPoint{r.real(GeometryField::X), r.real(GeometryField::Y)};
          break;
        }
        ++index;
      }
    }
    return;
  }
  if (button == Qt::LeftButton) {
    select(hit);
  } else if (button == Qt::RightButton && hit) {
    // The menu acts on the point under the cursor, never on one chosen
    // before.
    select(hit);
    if (m_popup) m_popup->popup(globalPosition);
  }
}

void DrawingController::move(double x, double y) {
  if (m_document.runInProgress()) return;
  if (m_tool.drawing()) {
    if (const std::optional<WorldPoint> last = m_tool.lastPoint()) {
      m_view.setRubberBand(std::pair{*last, WorldPoint{x, y}});
    }
    return;
  }
  if (m_moving && m_grabbed) {
    m_view.setSelectedPoint(WorldPoint{x, y});
    dragItemTo(WorldPoint{x, y});
  }
}

void DrawingController::dragItemTo(std::optional<WorldPoint> at) {
  DisplayList& list = m_view.mutableDisplayList();
  if (m_dragItem < 0 || m_dragItem >= list.DisplayItemCount || m_dragItem >= static_cast<int>(list.items.size())) {
    return;
  }
  const WorldPoint w = at.value_or(m_dragFrom);
  DisplayItem& item = list.items[static_cast<std::size_t>(m_dragItem)];
  const SectionScene& scene = m_view.scene();
  const PixelPoint p = m_view.transform().worldToImage(w.x, w.y, scene.scaleX, scene.scaleY);
  item.x = w.x;
  item.y = w.y;
  item.pixelX = p.x;
  item.pixelY = p.y;
  m_view.canvas()->invalidateOverlay();
}

void DrawingController::release(double x, double y, int button) {
  if (m_document.runInProgress() || !m_moving) return;
  m_moving = false;
  m_grabbed = false;
  // The item goes back to its row; the stored move redraws it from there.
  dragItemTo(std::nullopt);
  m_dragItem = -1;
  // The left button puts the point down where it is released (a press that
  // took no point moves the selected one there); the right one gives up.
  if (button == Qt::LeftButton && m_selected) {
    replaceGeometry(MovedPointRows(m_document.projectForAnalysis(), *m_selected, x, y));
  }
  select(m_selected);
}

void DrawingController::setSoilTip(bool on) {
  m_soilTip = on;
  if (!on) emit soilTipText(QString());
}

QString DrawingController::soilUnder(double x, double y) {
  const ViewTransform& t = m_view.transform();
  const SectionScene& scene = m_view.scene();
  const PixelPoint p = t.worldToImage(x, y, scene.scaleX, scene.scaleY);
  const auto bands = BandPolygonsInPixels(scene, t);
  int hit = -1;
  // The last band that holds the point is the one drawn on top.
  for (std::size_t k = 0; k < bands.size(); ++k) {
    if (PointInPolygon(bands[k], p.x, p.y)) hit = static_cast<int>(k);
  }
  const Project& project = m_document.project();
  const bool aniso = project.options.itemIndex(Option::CB_Strength_Model) == 1;
  const Table table = aniso ? Table::Aniso : Table::Soil_Prop;
  if (hit < 0 || hit >= project.store->rowCount(table)) return QString();
  const Row soil = project.store->rowAt(table, hit + 1);
  const auto num = [&soil](auto field) { return QString::fromStdString(DefaultRealText(soil.real(field))); };
  QString text = QString::fromStdString(soil.text(SoilCommonField::Description)) + QStringLiteral(" : Soil No.= ") +
                 QString::number(hit + 1);
  if (aniso) {
    text += QStringLiteral(" , cv = ") + num(AnisoField::Cv) + QStringLiteral(" , ch = ") + num(AnisoField::Ch) +
            QStringLiteral(" , phi v = ") + num(AnisoField::PhiV) + QStringLiteral(" , phi h = ") +
            num(AnisoField::PhiH);
  } else {
    text += QStringLiteral(" , c = ") + num(SoilField::Cohesion) + QStringLiteral(" , phi = ") + num(SoilField::Phi);
  }
  return text + QStringLiteral(" , unit weight = ") + num(SoilCommonField::UnitWeight);
}

// ----- The tool's changes --------------------------------------------------------

void DrawingController::appendRow(const Row& row) {
  m_document.insertRows(row.table(), m_document.project().store->rowCount(row.table()) + 1, {row});
}

void DrawingController::replaceTable(const Row& first) {
  m_document.replaceRows(first.table(), {first});
}

void DrawingController::setOptionTexts(const std::vector<std::pair<Option, std::string>>& texts) {
  m_document.setOptions(QStringLiteral("Draw"), [&texts](OptionValues& o) {
    for (const auto& [control, text] : texts) o.setText(control, text);
  });
}

void DrawingController::setLoadFields(Table table, const std::vector<std::pair<std::string, double>>& fields) {
  LoadEditor& editor = table == Table::Lineload    ? m_strip.lineLoads()
                       : table == Table::Stripload ? m_strip.stripLoads()
                                                   : m_strip.anchors();
  editor.setDrawnFields(fields);
}

void DrawingController::replaceGeometry(std::vector<Row> rows) {
  if (rows == m_document.project().store->rows(Table::Geometry)) return;
  m_document.replaceRows(Table::Geometry, std::move(rows));
}

void DrawingController::message(int number) {
  m_prompter.information(ProgramTitle(), MessageBoxText(MessageText(m_document.language(), number)));
}

void DrawingController::gridIncomplete(int cornersClicked) {
  m_prompter.information(ProgramTitle(),
                         MessageBoxText(FormatText(UiTextFor(m_document.language(), UiText::GridCornersIncomplete),
                                                   {std::to_string(cornersClicked)})));
}

// ----- Selection -------------------------------------------------------------------

std::optional<WorldPoint> DrawingController::pointOf(PointKey key) {
  for (const Row& r : m_document.project().store->rows(Table::Geometry)) {
    if (r.integer(GeometryField::LineNo) == key.line && r.integer(GeometryField::PointNo) == key.point) {
      return WorldPoint{r.real(GeometryField::X), r.real(GeometryField::Y)};
    }
  }
  return std::nullopt;
}

void DrawingController::select(std::optional<PointKey> key) {
  std::optional<WorldPoint> at;
  if (key) at = pointOf(*key);
  if (!at) key.reset();
  const bool changed = key.has_value() != m_selected.has_value();
  m_selected = key;
  m_view.setSelectedPoint(at);
  if (changed) emit selectionChanged(m_selected.has_value());
}

}  // namespace pelodyn
