#pragma once

namespace velbor {

// Where installers see that one of them runs, as the platform offers it.
class InstallerNames {
 public:
  enum class Namespace {
    kMade,
    // One of the same name and boundary was made before.
    kExists,
    // The system has no private namespaces.
    kUnsupported,
    kNotMade,
  };

  virtual ~InstallerNames() = default;

  // Makes the installers' private namespace, whose boundary holds the
  // Administrators group: only an elevated process can make it, and only the
  // administrators and the system may open it, so a standard user can neither
  // make nor hold a name in it.
  virtual Namespace MakeNamespace() = 0;

  // Opens the namespace that was made before; false when it cannot be opened.
  virtual bool OpenNamespace() = 0;

  // Takes the sign that an installer runs, for as long as this lives: in the
  // namespace made or opened, or else in the system's global one, which every
  // session sees. False when another installer holds it.
  virtual bool TakeRunningSign(bool inNamespace) = 0;
};

}  // namespace velbor
