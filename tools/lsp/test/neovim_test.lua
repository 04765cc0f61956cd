-- Run by neovim_test.sh: the editor's side of the test. Ends Neovim with
-- status 0 when every check holds, 1 with the reason on standard error.
local function run()
  local tool = os.getenv('SCENARIO_TOOL')
  local dir = os.getenv('DOCUMENTS')
  -- The documents are Windows-1252: read and write them so.
  vim.opt.fileencodings = 'cp1252'
  vim.opt.fileencoding = 'cp1252'
  local train = dir .. '/Bresta_Vilcar_RX907-.txt'
  local line = dir .. '/Bresta_Vilcar_linea.txt'
  vim.cmd('edit ' .. vim.fn.fnameescape(line))
  local lineBuf = vim.api.nvim_get_current_buf()
  vim.cmd('edit ' .. vim.fn.fnameescape(train))
  local buf = vim.api.nvim_get_current_buf()
  assert(vim.bo[buf].fileencoding == 'cp1252', 'opened as ' .. vim.bo[buf].fileencoding)

  local client = vim.lsp.start_client({ name = 'scenario_tool', cmd = { tool, 'lsp' }, root_dir = dir })
  assert(client, 'the server did not start')
  vim.lsp.buf_attach_client(lineBuf, client)
  vim.lsp.buf_attach_client(buf, client)
  assert(vim.wait(20000, function()
    local c = vim.lsp.get_client_by_id(client)
    return c ~= nil and c.initialized
  end, 50), 'the server was not initialized')

  -- A speed off the 5 km/h step, in a row that starts with "À".
  local rows = vim.api.nvim_buf_get_lines(buf, 0, -1, false)
  local lnum
  for i, text in ipairs(rows) do
    if text == 'velocita,    6350,   110' then lnum = i - 1 end
  end
  assert(lnum, 'no speed row at 6350 m')
  local edited = 'À velocita,    6350,   112'
  vim.api.nvim_buf_set_lines(buf, lnum, lnum + 1, false, { edited })
  assert(vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 50), 'no diagnostic came')
  local found = vim.diagnostic.get(buf)
  assert(#found == 1, 'diagnostics: ' .. vim.inspect(found))
  local d = found[1]
  local col = edited:find('112', 1, true) - 1  -- byte column: "À" is two bytes in the buffer
  assert(d.lnum == lnum and d.col == col and d.end_col == col + 3,
    string.format('mark at %d:%d-%d, expected %d:%d-%d', d.lnum, d.col, d.end_col, lnum, col, col + 3))
  assert(d.severity == vim.diagnostic.severity.WARN, 'severity ' .. tostring(d.severity))
  assert(tostring(d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code)) == 'W102',
    'code ' .. vim.inspect(d))

  -- Mended and saved: the mark goes, and the file keeps its code page.
  vim.api.nvim_buf_set_lines(buf, lnum, lnum + 1, false, { 'À velocita,    6350,   110' })
  assert(vim.wait(20000, function() return #vim.diagnostic.get(buf) == 0 end, 50), 'the mark stayed')
  vim.cmd('write')
end

local ok, err = pcall(run)
if not ok then
  io.stderr:write('neovim test: ' .. tostring(err) .. '\n')
  vim.cmd('cquit 1')
end
vim.cmd('qall!')
