// The extension's activation against a stub of the editor's module: it
// reads the path and encoding settings, finds scenario_tool (the setting, then
// the PATH) and starts scenario_tool lsp (the real program, SCENARIO_TOOL),
// which answers the protocol's initialize; or says what it looked for.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const Module = require('node:module');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawn } = require('node:child_process');
const {
  createProtocolConnection, StreamMessageReader, StreamMessageWriter,
} = require('vscode-languageserver-protocol/node');

const tool = process.env.SCENARIO_TOOL;
assert.ok(tool, 'SCENARIO_TOOL must be set');

// What the editor would hold: the settings, and what the extension did with it.
function stubEditor(settings) {
  const seen = { reads: [], warnings: [], errors: [], commands: [], clients: [] };
  const vscode = {
    workspace: {
      getConfiguration: (section, scope) => ({
        get: (key) => {
          seen.reads.push(`${section}.${key}${scope && scope.languageId ? ` [${scope.languageId}]` : ''}`);
          return settings[`${section}.${key}`];
        },
      }),
    },
    window: {
      showWarningMessage: (text) => seen.warnings.push(text),
      // The author answers with the first of the offered buttons.
      showErrorMessage: (text, ...buttons) => {
        seen.errors.push({ text, buttons });
        return Promise.resolve(buttons[0]);
      },
    },
    commands: { executeCommand: async (...args) => seen.commands.push(args) },
  };
  // The client library drives the editor's own API; here it starts the server
  // and exchanges initialize with it, which is what the extension asks of it.
  class LanguageClient {
    constructor(id, name, serverOptions, clientOptions) {
      Object.assign(this, { id, name, serverOptions, clientOptions });
      seen.clients.push(this);
    }
    async start() {
      this.process = spawn(this.serverOptions.command, this.serverOptions.args, { stdio: ['pipe', 'pipe', 'inherit'] });
      this.connection = createProtocolConnection(
        new StreamMessageReader(this.process.stdout), new StreamMessageWriter(this.process.stdin));
      this.connection.listen();
      this.initializeResult = await this.connection.sendRequest('initialize', { processId: null, rootUri: null, capabilities: {} });
    }
    async stop() {
      await this.connection.sendRequest('shutdown');
      const exited = new Promise((resolve) => this.process.on('exit', resolve));
      this.connection.sendNotification('exit');
      this.exitCode = await exited;
      this.connection.dispose();
    }
    dispose() {}
  }
  const stubs = { vscode, 'vscode-languageclient/node': { LanguageClient } };
  const resolve = Module._resolveFilename;
  Module._resolveFilename = function (request, ...rest) {
    return request in stubs ? request : resolve.call(this, request, ...rest);
  };
  for (const [name, exports] of Object.entries(stubs)) {
    require.cache[name] = { id: name, filename: name, loaded: true, exports };
  }
  delete require.cache[require.resolve('../extension.js')];
  const extension = require('../extension.js');
  Module._resolveFilename = resolve;
  return { extension, seen };
}

test('activation starts the configured scenario_tool with lsp and reads the encoding', async () => {
  const { extension, seen } = stubEditor({ 'scenarioTool.path': tool, 'files.encoding': 'windows1252' });
  const context = { subscriptions: [] };
  const client = await extension.activate(context);
  assert.deepEqual(seen.reads, ['scenarioTool.path', 'files.encoding [scenario]']);
  assert.deepEqual(seen.warnings, []);
  assert.deepEqual(client.serverOptions, { command: tool, args: ['lsp'] });
  assert.deepEqual(client.clientOptions.documentSelector, [{ scheme: 'file', language: 'scenario' }]);
  assert.equal(client.initializeResult.serverInfo.name, 'scenario_tool');
  assert.equal(context.subscriptions[0], client);
  await extension.deactivate();
  assert.equal(client.exitCode, 0);
});

test('activation warns when the documents would be saved in another encoding', async () => {
  const { extension, seen } = stubEditor({ 'scenarioTool.path': tool, 'files.encoding': 'utf8' });
  await extension.activate({ subscriptions: [] });
  assert.equal(seen.warnings.length, 1);
  assert.match(seen.warnings[0], /Windows-1252/);
  await extension.deactivate();
});

// A folder holding a file NAME, executable or not; removed after the test.
function folderWith(t, name, executable) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vscode-tool-'));
  t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
  if (executable) fs.symlinkSync(tool, path.join(dir, name));
  else fs.writeFileSync(path.join(dir, name), '');
  return dir;
}

test('with no setting, scenario_tool is the first program of that name on the PATH', async (t) => {
  const notProgram = folderWith(t, 'scenario_tool', false);
  const empty = fs.mkdtempSync(path.join(os.tmpdir(), 'vscode-tool-'));
  t.after(() => fs.rmSync(empty, { recursive: true, force: true }));
  const first = folderWith(t, 'scenario_tool', true);
  const second = folderWith(t, 'scenario_tool', true);
  const { extension } = stubEditor({});
  const env = { PATH: [notProgram, empty, first, second].join(path.delimiter) };
  assert.deepEqual(extension.findTool('', env, 'linux'), { program: path.join(first, 'scenario_tool') });
  assert.deepEqual(extension.findTool(undefined, env, 'linux'), { program: path.join(first, 'scenario_tool') });
  // A name in the setting is looked for on the PATH too.
  const other = folderWith(t, 'my_tool', true);
  assert.deepEqual(extension.findTool('my_tool', { PATH: other }, 'linux'), { program: path.join(other, 'my_tool') });
  // A path in the setting comes before the PATH, "~/" being the home folder.
  assert.deepEqual(extension.findTool(tool, env, 'linux'), { program: tool });
  assert.deepEqual(extension.findTool('~/scenario_tool', env, 'linux', second), { program: path.join(second, 'scenario_tool') });

  const saved = process.env.PATH;
  process.env.PATH = env.PATH;
  t.after(() => { process.env.PATH = saved; });
  const activation = stubEditor({ 'scenarioTool.path': '', 'files.encoding': 'windows1252' });
  const client = await activation.extension.activate({ subscriptions: [] });
  assert.deepEqual(client.serverOptions, { command: path.join(first, 'scenario_tool'), args: ['lsp'] });
  assert.equal(client.initializeResult.serverInfo.name, 'scenario_tool');
  await activation.extension.deactivate();
  assert.equal(client.exitCode, 0);
});

test('a missing scenario_tool is an error that names what was looked for', (t) => {
  const { extension } = stubEditor({});
  const notProgram = folderWith(t, 'scenario_tool', false);
  const fix = 'Set "scenarioTool.path" to the full path of scenario_tool in the folder of the unpacked ' +
    'release archive, or add that folder to the PATH, then reload the window.';
  assert.deepEqual(extension.findTool('', { PATH: notProgram }, 'linux'), {
    error: 'Scenario documents: scenario_tool was not found: the setting scenarioTool.path is empty, ' +
      `and no folder of the PATH holds scenario_tool. ${fix}`,
  });
  const missing = path.join(notProgram, 'missing', 'scenario_tool');
  assert.deepEqual(extension.findTool(missing, { PATH: path.dirname(tool) }, 'linux'), {
    error: `Scenario documents: scenario_tool was not found: the setting scenarioTool.path is "${missing}", ` +
      `which is not a program file. ${fix}`,
  });
  assert.deepEqual(extension.findTool(path.join(notProgram, 'scenario_tool'), {}, 'linux').error,
    `Scenario documents: scenario_tool was not found: the setting scenarioTool.path is "${path.join(notProgram, 'scenario_tool')}", ` +
      `which is not a program file. ${fix}`);
  // Windows looks for the .exe, in the variable as Windows writes it.
  assert.deepEqual(extension.findTool('', { Path: 'C:\\nowhere' }, 'win32'), {
    error: 'Scenario documents: scenario_tool was not found: the setting scenarioTool.path is empty, ' +
      `and no folder of the PATH holds scenario_tool.exe. ${fix}`,
  });
});

test('activation without scenario_tool shows the error, starts no server and offers the setting', async (t) => {
  const saved = process.env.PATH;
  process.env.PATH = folderWith(t, 'scenario_tool', false);
  t.after(() => { process.env.PATH = saved; });
  const { extension, seen } = stubEditor({ 'scenarioTool.path': '', 'files.encoding': 'windows1252' });
  const context = { subscriptions: [] };
  assert.equal(await extension.activate(context), null);
  assert.equal(seen.errors.length, 1);
  assert.match(seen.errors[0].text, /^Scenario documents: scenario_tool was not found: .* no folder of the PATH holds scenario_tool\./);
  assert.deepEqual(seen.errors[0].buttons, ['Open Settings']);
  assert.deepEqual(seen.clients, []);
  assert.deepEqual(context.subscriptions, []);
  await new Promise((resolve) => setImmediate(resolve));
  assert.deepEqual(seen.commands, [['workbench.action.openSettings', 'scenarioTool.path']]);
  await extension.deactivate();
});
