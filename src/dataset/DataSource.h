#pragma once

#include <functional>
#include <utility>

class ClientDataSet;

// What a grid is bound to: the set it shows, which may be absent.
class DataSource {
 public:
  explicit DataSource(ClientDataSet* dataSet = nullptr) : dataSet_(dataSet) {}

  ClientDataSet* dataSet() const { return dataSet_; }
  void setDataSet(ClientDataSet* dataSet) { dataSet_ = dataSet; }

  // The bound grid's way of writing an edit still open in it into the set, so that a change of
  // the set's order does not drop it; it throws when the set refuses the text.
  void setUpdateRecord(std::function<void()> updateRecord) {
    updateRecord_ = std::move(updateRecord);
  }
  void UpdateRecord() const {
    if (updateRecord_) updateRecord_();
  }

 private:
  ClientDataSet* dataSet_;
  std::function<void()> updateRecord_;
};
