// The extension's activation against a stub of the editor's module: it
// reads the path and encoding settings and starts scenario_tool lsp (the real
// program, SCENARIO_TOOL), which answers the protocol's initialize.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const Module = require('node:module');
const { spawn } = require('node:child_process');
const {
  createProtocolConnection, StreamMessageReader, StreamMessageWriter,
} = require('vscode-languageserver-protocol/node');

const tool = process.env.SCENARIO_TOOL;
assert.ok(tool, 'SCENARIO_TOOL must be set');

// What the editor would hold: the settings, and what the extension did with it.
function stubEditor(settings) {
  const seen = { reads: [], warnings: [], clients: [] };
  const vscode = {
    workspace: {
      getConfiguration: (section, scope) => ({
        get: (key) => {
          seen.reads.push(`${section}.${key}${scope && scope.languageId ? ` [${scope.languageId}]` : ''}`);
          return settings[`${section}.${key}`];
        },
      }),
    },
    window: { showWarningMessage: (text) => seen.warnings.push(text) },
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
