/*
 * Preloaded into TarnConfig by scripts/demo.sh when the window is served over VNC. Qt's VNC platform
 * listens on every network interface and asks no password; this turns a bind to "any address" into a
 * bind to the loopback address, so that only this machine (or an SSH tunnel) reaches the demo.
 *
 * Build: cc -shared -fPIC -O2 -o loopback-only.so loopback-only.c -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <netinet/in.h>
#include <string.h>
#include <sys/socket.h>

typedef int (*BindFunction)(int, const struct sockaddr*, socklen_t);

int bind(int fd, const struct sockaddr* address, socklen_t length)
{
    static BindFunction realBind;
    if (!realBind) {
        realBind = (BindFunction)dlsym(RTLD_NEXT, "bind");
    }
    if (address && address->sa_family == AF_INET && length >= sizeof(struct sockaddr_in)) {
        struct sockaddr_in v4;
        memcpy(&v4, address, sizeof v4);
        if (v4.sin_addr.s_addr == htonl(INADDR_ANY)) {
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return realBind(fd, (const struct sockaddr*)&v4, sizeof v4);
        }
    }
    if (address && address->sa_family == AF_INET6 && length >= sizeof(struct sockaddr_in6)) {
        struct sockaddr_in6 v6;
        memcpy(&v6, address, sizeof v6);
        if (IN6_IS_ADDR_UNSPECIFIED(&v6.sin6_addr)) {
            /* Qt's "any" is a dual-stack socket: 127.0.0.1 as a mapped address keeps IPv4 clients working. */
            static const unsigned char mappedLoopback[16] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 127, 0, 0, 1 };
            memcpy(&v6.sin6_addr, mappedLoopback, sizeof mappedLoopback);
            return realBind(fd, (const struct sockaddr*)&v6, sizeof v6);
        }
    }
    return realBind(fd, address, length);
}
