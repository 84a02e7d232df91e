#include "model/project.h"

#include <stdexcept>

#include "model/soil_color.h"

namespace pelodyn {

void AppendSoilRow(Project& project, Row row) {
  if (row.table() != Table::Soil_Prop && row.table() != Table::Aniso) {
    throw std::logic_error("AppendSoilRow takes rows of Soil_Prop or Aniso");
  }
  if (project.ProjectLoading == 0) {
    row.set(SoilCommonField::Color, SoilColorDefault(project.store->rowCount(row.table()) + 1));
  }
  project.store->append(row);
}

}  // namespace pelodyn
