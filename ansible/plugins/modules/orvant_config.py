#!/usr/bin/python
# -*- coding: utf-8 -*-
"""orvant_config: makes an ORVANT installation's configuration match a document, through tarnctl import."""

from __future__ import annotations

import json
import os

from ansible.module_utils.basic import AnsibleModule

DOCUMENTATION = r"""
---
module: orvant_config
short_description: Makes an ORVANT installation's configuration match a document
description:
  - Runs C(tarnctl import) with the document: one save under the installation's lock, through the configuration
    window's checks and OK sequence, with one backup and one audit trail. A document the installation already
    matches writes nothing.
  - Instances the document names that the installation lacks are added as "Add New" adds them. Instances and
    settings the document leaves out are left as they are.
  - A document with an unknown setting, a value the window would refuse or another version fails the task and
    nothing is written.
  - Check mode runs the import as a dry run. With C(--diff), the dry run's lines are the diff.
options:
  document:
    description:
      - The desired configuration as C(tarnctl export) writes it, as a dictionary or as JSON text.
      - Exactly one of I(document) and I(document_path) is given.
    type: raw
  document_path:
    description: A file on the managed host holding the document.
    type: path
  home:
    description: The installation folder, e.g. C(C:\ORVANT) (tarnctl's C(--home)).
    type: str
    required: true
  password:
    description: The Administrator password. It reaches tarnctl on its standard input, never on a command line.
    type: str
    required: true
  tarnctl:
    description: The tarnctl program.
    type: path
    default: tarnctl
  wait:
    description: Seconds to wait for another run or a TarnConfig window saving the same installation.
    type: int
    default: 5
"""

EXAMPLES = r"""
- name: Configuration as the fleet's document says
  orvant.setup.orvant_config:
    document: "{{ lookup('ansible.builtin.file', 'fleet-configuration.json') | from_json }}"
    home: 'C:\ORVANT'
    password: "{{ orvant_password }}"
"""

RETURN = r"""
changes:
  description: The dry run's lines, LOCATION, INSTANCE, SETTING and "OLD -> NEW" separated by tabs (check mode and --diff).
  returned: in check mode or with --diff
  type: list
  elements: str
"""

# tarnctl's exit status (--changed-exit) for a save that changed something, or a dry run that would.
CHANGED = 10


def run_import(module, document_file, dry_run):
    """Runs tarnctl import; returns whether it changed (or would change) anything, and its output."""
    params = module.params
    command = [params["tarnctl"], "--home", params["home"], "--wait", str(params["wait"]), "--password-stdin",
               "--changed-exit", str(CHANGED)]
    if dry_run:
        command.append("--dry-run")
    command += ["import", document_file]
    rc, out, err = module.run_command(command, data=params["password"])
    if rc not in (0, CHANGED):
        module.fail_json(msg=err.strip() or "tarnctl import failed with exit status %d" % rc, rc=rc, stdout=out,
                         stderr=err)
    return rc == CHANGED, out


def main():
    module = AnsibleModule(
        argument_spec=dict(
            document=dict(type="raw"),
            document_path=dict(type="path"),
            home=dict(type="str", required=True),
            password=dict(type="str", required=True, no_log=True),
            tarnctl=dict(type="path", default="tarnctl"),
            wait=dict(type="int", default=5),
        ),
        mutually_exclusive=[("document", "document_path")],
        required_one_of=[("document", "document_path")],
        supports_check_mode=True,
    )
    document_file = module.params["document_path"]
    if document_file is None:
        document = module.params["document"]
        text = document if isinstance(document, str) else json.dumps(document, indent=2)
        # The module's own temporary folder, open to this user only and removed when the module ends.
        document_file = os.path.join(module.tmpdir, "orvant-configuration.json")
        with open(document_file, "w", encoding="utf-8") as out:
            out.write(text)

    result = {"changed": False}
    if module.check_mode or module._diff:
        result["changed"], lines = run_import(module, document_file, dry_run=True)
        result["changes"] = lines.splitlines()
        if module._diff:
            result["diff"] = {"prepared": lines}
    if not module.check_mode:
        result["changed"], _ = run_import(module, document_file, dry_run=False)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
