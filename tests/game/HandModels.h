// Small models built in code for the collision-grid tests: objects of triangles and quads in
// engine axes, prepared so that their faces carry normals as loaded levels do.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine3d/Group3D.h"
#include "engine3d/Mesh.h"
#include "engine3d/Vector3.h"

namespace game_test {

using engine3d::Vector3;

class HandModel {
 public:
  HandModel() : group_(std::make_unique<engine3d::Group3D>()) {}

  // A new object named `name`; the shapes below go into the latest object.
  HandModel& object(const std::string& name) {
    mesh_ = group_->addMesh(name, std::make_unique<engine3d::Mesh>());
    return *this;
  }
  // One triangle a, b, c. Its stored normal is (b - a) x (c - b) normalised, so the grid's
  // normal (the negated one) is (c - b) x (b - a).
  HandModel& triangle(const Vector3& a, const Vector3& b, const Vector3& c) {
    const int first = mesh_->vertexCount();
    for (const Vector3& v : {a, b, c}) mesh_->addVertex(v.x, v.y, v.z, 0, 0);
    mesh_->addFace(first, first + 1, first + 2);
    return *this;
  }
  // A horizontal square at height y over [x0, x1] x [z0, z1], as two triangles whose grid
  // normal points up (+y) when `up`, else down.
  HandModel& level(float y, float x0, float x1, float z0, float z1, bool up) {
    const Vector3 a(x0, y, z0), b(x1, y, z0), c(x1, y, z1), d(x0, y, z1);
    // Stored (b - a) x (c - b) for this order is -y: the grid's normal is +y.
    if (up) return triangle(a, b, c).triangle(a, c, d);
    return triangle(a, c, b).triangle(a, d, c);
  }
  // A face whose indices name vertices that do not exist.
  HandModel& brokenFace() {
    mesh_->addFace(0, 1, 400);
    return *this;
  }

  engine3d::Mesh& mesh() { return *mesh_; }

  // The model, prepared (face normals and bounds in place).
  std::unique_ptr<engine3d::Group3D> take() {
    group_->prepare(true);
    return std::move(group_);
  }

 private:
  std::unique_ptr<engine3d::Group3D> group_;
  engine3d::Mesh* mesh_ = nullptr;
};

}  // namespace game_test
