// The document of the single-document frame: it holds no data (everything compared
// lives in the view) and keeps only the modified flag.
#pragma once

namespace dualvex {

class CDualvexDoc {
  public:
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

  private:
    bool m_modified = false;
};

} // namespace dualvex
