// The packaged extension: scripts/package_vscode.sh builds the .vsix; it
// holds the extension, its grammar and its run-time npm packages, and none
// of the tests or the packaging tools.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

test('the .vsix holds the extension with its run-time packages only', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'vsix-test-'));
  try {
    const listing = execFileSync('bash', [path.join(__dirname, '../../../scripts/package_vscode.sh'), out],
      { encoding: 'utf8' }).split('\n').filter((l) => l !== '');
    const version = require('../package.json').version;
    assert.equal(listing[0], `${path.join(out, `scenario-tool-${version}.vsix`)}:`);
    const files = new Set(listing.slice(1));
    for (const f of ['extension/package.json', 'extension/extension.js', 'extension/readme.md',
      'extension/language-configuration.json', 'extension/syntaxes/scenario.tmLanguage.json',
      'extension/node_modules/vscode-languageclient/node.js', 'extension.vsixmanifest']) {
      assert.ok(files.has(f), `${f} is missing`);
    }
    for (const f of files) {
      assert.ok(!f.startsWith('extension/test/'), f);
      assert.ok(!/node_modules\/(@vscode\/vsce|vscode-textmate|vscode-oniguruma)\//.test(f), f);
    }
  } finally {
    fs.rmSync(out, { recursive: true, force: true });
  }
});
