#pragma once

class ClientDataSet;

// What a grid is bound to: the set it shows, which may be absent.
class DataSource {
 public:
  explicit DataSource(ClientDataSet* dataSet = nullptr) : dataSet_(dataSet) {}

  ClientDataSet* dataSet() const { return dataSet_; }
  void setDataSet(ClientDataSet* dataSet) { dataSet_ = dataSet; }

 private:
  ClientDataSet* dataSet_;
};
