#pragma once

namespace lv {

// Brings rows of a load into the stores just before the pass over the load's samples reads
// them, a stretch that fits the cache at a time: the pass then finds them in the cache instead
// of reading every row from memory once more. Disjoint stretches may be brought from two
// threads at once; each row is brought once.
class RowSupply {
 public:
  virtual ~RowSupply() = default;
  virtual void bring(int from, int to) = 0;
};

}  // namespace lv
