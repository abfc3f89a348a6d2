"""A TCP relay on loopback that holds every byte back half a round trip in each direction, as a
link to a host far away would: put in front of a server (the benchmark's sshd), each request
and its answer take RTT. Connections to the relay open at once, as loopback ones do.

    slow_link_relay.py --to PORT [--rtt MS] [--port N]

Prints the port it listens on, then relays until killed.
"""
import argparse
import asyncio

parser = argparse.ArgumentParser()
parser.add_argument("--to", type=int, required=True, help="the server's port on 127.0.0.1")
parser.add_argument("--rtt", type=float, default=50, help="round-trip time in milliseconds")
parser.add_argument("--port", type=int, default=0)
args = parser.parse_args()
delay = args.rtt / 2000


async def carry(reader, writer):
    """Passes what comes from `reader` to `writer`, each piece `delay` after it came, in order."""
    loop = asyncio.get_running_loop()
    pieces = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await pieces.get()
            wait = due - loop.time()
            if wait > 0:
                await asyncio.sleep(wait)
            if data is None:
                break
            writer.write(data)
            await writer.drain()
        writer.close()

    delivering = asyncio.create_task(deliver())
    try:
        while data := await reader.read(1 << 16):
            pieces.put_nowait((loop.time() + delay, data))
    except ConnectionError:
        pass
    pieces.put_nowait((loop.time() + delay, None))
    await delivering


async def relay(client_reader, client_writer):
    try:
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", args.to)
    except OSError:
        client_writer.close()
        return
    await asyncio.gather(carry(client_reader, server_writer), carry(server_reader, client_writer),
                         return_exceptions=True)


async def main():
    server = await asyncio.start_server(relay, "127.0.0.1", args.port)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


asyncio.run(main())
